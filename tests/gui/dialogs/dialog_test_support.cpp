#include "dialog_test_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QTest>

namespace ampelsim::ui::test {

MessageBoxWatcher::MessageBoxWatcher() {
  timer_.setInterval(5);
  QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
  timer_.start();
}

void MessageBoxWatcher::Poll() {
  auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
  if (box == nullptr || !box->isVisible()) {
    return;
  }
  QString entry = box->windowTitle() + QStringLiteral("\n---\n") + box->text();
  if (box->icon() != QMessageBox::NoIcon || box->buttons().size() != 1 ||
      box->button(QMessageBox::Ok) == nullptr) {
    entry += QStringLiteral("\n--- not a plain OK box");
  }
  seen_.append(entry);
  if (QAbstractButton* ok = box->button(QMessageBox::Ok)) {
    ok->click();
  } else {
    box->reject();
  }
}

QString Describe(const QString& caption, const QString& text) {
  return caption + QStringLiteral("\n---\n") + text;
}

void FakeVolumes::SetReady(const QString& root, bool ready) {
  if (ready) {
    notReady_.remove(root);
  } else {
    notReady_.insert(root);
  }
}

VolumeSource FakeVolumes::Source() {
  return {[this] {
            QList<Volume> volumes;
            for (const QString& root : roots_) {
              volumes.append({root, QString()});
            }
            return volumes;
          },
          [this](const QString& root) { return !notReady_.contains(root); }};
}

QStringList Texts(const QListWidget* list) {
  QStringList texts;
  for (int row = 0; row < list->count(); ++row) {
    texts.append(list->item(row)->text());
  }
  return texts;
}

QString MakeDirectory(const QString& path) {
  QDir().mkpath(path);
  return path;
}

void Touch(const QString& path) {
  QFile file(path);
  file.open(QIODevice::WriteOnly);
}

QStringList Entries(const QString& directory) {
  return QDir(directory).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                   QDir::Name);
}

QString Canonical(const QString& path) {
  return QFileInfo(path).canonicalFilePath();
}

namespace {

QListWidgetItem* Find(QListWidget* list, const QString& entry) {
  const auto found = list->findItems(entry, Qt::MatchExactly);
  return found.isEmpty() ? nullptr : found.first();
}

}  // namespace

void PressEnterOn(QListWidget* list, const QString& entry) {
  if (QListWidgetItem* item = Find(list, entry)) {
    list->setCurrentItem(item);
    QTest::keyClick(list, Qt::Key_Return);
  }
}

void DoubleClickOn(QListWidget* list, const QString& entry) {
  if (QListWidgetItem* item = Find(list, entry)) {
    list->scrollToItem(item);
    const QPoint centre = list->visualItemRect(item).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
  }
}

}  // namespace ampelsim::ui::test
