#include "ui/QtPrompts.h"

#include <QApplication>
#include <QColorDialog>
#include <QFontDialog>
#include <QFontInfo>
#include <QMessageBox>

#include "ui/QtCanvas.h"

namespace zub {

QWidget* QtPrompts::Parent() const {
  if (parent_ != nullptr && parent_->isVisible()) {
    return parent_;
  }
  return QApplication::activeWindow();
}

void QtPrompts::ShowMessage(const std::string& text) {
  QMessageBox::information(Parent(), QString::fromStdString(title_()), QString::fromStdString(text),
                           QMessageBox::Ok);
}

Answer QtPrompts::Ask(const std::string& text, bool withCancel) {
  QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
  if (withCancel) {
    buttons |= QMessageBox::Cancel;
  }
  switch (QMessageBox::question(Parent(), QString::fromStdString(title_()),
                                QString::fromStdString(text), buttons)) {
    case QMessageBox::Yes:
      return Answer::Yes;
    case QMessageBox::No:
      return Answer::No;
    default:
      return Answer::Cancel;
  }
}

std::optional<ColorRef> QtPrompts::ChooseColor(ColorRef initial) {
  const QColor chosen = QColorDialog::getColor(ToQColor(initial), Parent());
  if (!chosen.isValid()) {
    return std::nullopt;
  }
  return FromQColor(chosen);
}

std::optional<Font> QtPrompts::ChooseFont(const Font& initial) {
  QFont start(QString::fromStdString(initial.name));
  start.setPointSize(initial.pointSize);
  start.setBold(initial.bold);
  start.setItalic(initial.italic);
  start.setUnderline(initial.underline);
  start.setStrikeOut(initial.strikeOut);
  bool ok = false;
  const QFont chosen = QFontDialog::getFont(&ok, start, Parent());
  if (!ok) {
    return std::nullopt;
  }
  Font result = initial;  // the dialog has no colour: keep the one in use
  result.name = chosen.family().toStdString();
  result.pointSize = chosen.pointSize() > 0 ? chosen.pointSize() : QFontInfo(chosen).pointSize();
  result.bold = chosen.bold();
  result.italic = chosen.italic();
  result.underline = chosen.underline();
  result.strikeOut = chosen.strikeOut();
  return result;
}

}  // namespace zub
