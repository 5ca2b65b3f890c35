#include "ui/QtPrompts.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFontInfo>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>

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

Answer QtPrompts::AskDefaultNo(const std::string& text) {
  QMessageBox box(QMessageBox::Question, QString::fromStdString(title_()),
                  QString::fromStdString(text), QMessageBox::Yes | QMessageBox::No, Parent());
  box.setDefaultButton(QMessageBox::No);
  box.setEscapeButton(QMessageBox::No);
  box.exec();
  return box.clickedButton() == box.button(QMessageBox::Yes) ? Answer::Yes : Answer::No;
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

  QFontDialog dialog(start, Parent());
  dialog.setOption(QFontDialog::DontUseNativeDialog);  // a native one would lose the button
  // The font dialog has no colour of its own; without one a text colour
  // could be lost for good, so the dialog gets a colour button.
  ColorRef color = initial.color;
  if (auto* buttons = dialog.findChild<QDialogButtonBox*>()) {
    QPushButton* colorButton =
        buttons->addButton(QObject::tr("Color..."), QDialogButtonBox::ActionRole);
    const auto showColor = [colorButton, &color] {
      QPixmap swatch(16, 16);
      swatch.fill(ToQColor(color));
      colorButton->setIcon(QIcon(swatch));
    };
    showColor();
    QObject::connect(colorButton, &QPushButton::clicked, &dialog, [&dialog, &color, showColor] {
      const QColor chosen = QColorDialog::getColor(ToQColor(color), &dialog);
      if (chosen.isValid()) {
        color = FromQColor(chosen);
        showColor();
      }
    });
  }
  if (dialog.exec() != QDialog::Accepted) {
    return std::nullopt;
  }
  const QFont chosen = dialog.selectedFont();
  Font result;
  result.name = chosen.family().toStdString();
  result.pointSize = chosen.pointSize() > 0 ? chosen.pointSize() : QFontInfo(chosen).pointSize();
  result.color = color;
  result.bold = chosen.bold();
  result.italic = chosen.italic();
  result.underline = chosen.underline();
  result.strikeOut = chosen.strikeOut();
  return result;
}

}  // namespace zub
