#include "gui/edit/test_run.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "data/data_set_saver.h"

namespace ampelsim::ui {

TFormTestlauf::TFormTestlauf(QWidget* parent)
    : QWidget(parent, Qt::Window), status_(new QLabel(this)) {
  setObjectName(QStringLiteral("FormTestlauf"));
  setWindowTitle(QStringLiteral("Testlauf"));
  auto* layout = new QVBoxLayout(this);
  status_->setObjectName(QStringLiteral("Meldung"));
  status_->setWordWrap(true);
  layout->addWidget(status_);
  auto* back = new QPushButton(QStringLiteral("Zurück zur Bearbeitung"), this);
  back->setObjectName(QStringLiteral("ZurueckZurBearbeitung"));
  layout->addWidget(back);
  connect(back, &QPushButton::clicked, this, [this] {
    hide();
    emit BackToEditing();
  });
  resize(420, 160);
}

QString TFormTestlauf::StatusText() const {
  return status_->text();
}

bool TFormTestlauf::Run(const edit::EditModel& model, const DataSetRunner& runner) {
  if (!scratch_.isValid()) {
    status_->setText(QStringLiteral("Kein Ordner für die Kopie des Testlaufs: ") +
                     scratch_.errorString());
    return false;
  }
  const std::filesystem::path copy =
      std::filesystem::path(scratch_.path().toStdString()) / "Testlauf";
  // A fresh copy each time: no ".bak" of the previous run beside it.
  std::error_code ignored;
  std::filesystem::remove_all(copy, ignored);
  const Result<SaveOutcome> saved = SaveDataSet(model.Data(), copy);
  if (!saved) {
    status_->setText(QStringLiteral("Die Kopie für den Testlauf kann nicht geschrieben werden: ") +
                     QString::fromStdString(saved.Failure().Message));
    return false;
  }
  const QString folder = QString::fromStdString(saved->Directory.string());
  if (const std::optional<QString> refused = runner(folder)) {
    status_->setText(*refused);
    return false;
  }
  copy_ = saved->Directory;
  status_->setText(
      QStringLiteral("Der Simulator hat den bearbeiteten Datensatz „%1“ so geladen, wie er jetzt "
                     "ist (Kopie in %2; die eigenen Dateien bleiben unverändert).\nMit „Start“ am "
                     "Bediengerät starten. Was jetzt bearbeitet wird, gilt erst beim nächsten "
                     "Testlauf.")
          .arg(QString::fromStdString(model.Directory().string()), folder));
  return true;
}

}  // namespace ampelsim::ui
