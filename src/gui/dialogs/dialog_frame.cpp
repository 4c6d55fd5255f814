#include "gui/dialogs/dialog_frame.h"

#include <QDialog>
#include <QLabel>

namespace ampelsim::ui {

void SetUpDialogFrame(QDialog& dialog, const QString& caption, QSize clientSize) {
  dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                        Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  dialog.setWindowTitle(caption);
  dialog.setFixedSize(clientSize);
}

QLabel* AddLabel(QWidget* parent, const QString& text, QRect geometry) {
  auto* label = new QLabel(text, parent);
  label->setGeometry(geometry);
  return label;
}

}  // namespace ampelsim::ui
