#include "game/TfmGame.h"

#include <QLabel>
#include <QString>

#include "game/DiceWidget.h"
#include "ui/Activation.h"
#include "ui/Font.h"
#include "ui/QtCanvas.h"
#include "ui/QtFitText.h"

namespace zub {
namespace {

// The window is placed by its outer size; the frame of a sizeable window
// takes 8 pixels across and 27 down (caption included).
constexpr int kOuterWidth = 329;
constexpr int kOuterHeight = 226;
constexpr int kFrameWidth = 8;
constexpr int kFrameHeight = 27;
// The window font's size, and so the panels' design size.
constexpr int kPanelPoints = 8;

QLabel* MakePanel(QWidget* parent, const char* name, int left, int top, int width, int height) {
  auto* panel = new QLabel(parent);  // owned by the window
  panel->setObjectName(name);
  panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  panel->setLineWidth(1);
  panel->setAlignment(Qt::AlignCenter);
  panel->setGeometry(left, top, width, height);
  return panel;
}

DiceWidget* MakeDie(QWidget* parent, const char* name, int left, int top) {
  auto* die = new DiceWidget(parent);  // owned by the window
  die->setObjectName(name);
  die->move(left, top);
  return die;
}

}  // namespace

TfmGame::TfmGame(CrapsGame& game, Prompts& prompts, QWidget* parent, DieSource* dice)
    : QDialog(parent),
      game_(game),
      prompts_(prompts),
      dice_(dice != nullptr ? *dice : ownDice_),
      panel1_(MakePanel(this, "Panel1", 40, 8, 241, 41)),
      panel2_(MakePanel(this, "Panel2", 42, 59, 239, 41)),
      dice1_(MakeDie(this, "Dice1", 112, 120)),
      dice2_(MakeDie(this, "Dice2", 160, 120)) {
  setObjectName("fmGame");
  setWindowTitle("Mini Craps Click on Dice to Play");
  setFont(ToQFont(Font{"MS Sans Serif", kPanelPoints}));
  // A moved window is not centred over its parent when shown.
  resize(kOuterWidth - kFrameWidth, kOuterHeight - kFrameHeight);
  move(279, 116);

  panel1_->setAccessibleName("Message");
  panel2_->setAccessibleName("Total");
  for (DiceWidget* die : {dice1_, dice2_}) {
    die->setAccessibleDescription("Space or Enter rolls both dice");
  }
  setTabOrder(dice1_, dice2_);
  dice1_->setFocus(Qt::OtherFocusReason);
  ShowDice();

  connect(dice1_, &DiceWidget::clicked, this, &TfmGame::Dice1Click);
  connect(dice2_, &DiceWidget::clicked, this, &TfmGame::Dice1Click);
  WatchActivation(this, [this] { FormActivate(); });
}

void TfmGame::FormActivate() {
  game_.Activate(dice_);
}

void TfmGame::Dice1Click() {
  const RollResult roll = game_.Roll(dice_);
  dice1_->SetValue(roll.die1);
  dice2_->SetValue(roll.die2);
  ShowDice();
  SetFittedText(panel1_, QString::fromStdString(roll.message), kPanelPoints);
  SetFittedText(panel2_, QString::fromStdString(roll.total), kPanelPoints);
  panel1_->setAccessibleDescription(panel1_->text());
  panel2_->setAccessibleDescription(panel2_->text());
  // The panel keeps showing the negative total behind the message.
  game_.SettleBroke(prompts_);
}

// A screen reader names each die with the face it shows.
void TfmGame::ShowDice() {
  dice1_->setAccessibleName(QString("Die 1 shows %1").arg(dice1_->Value()));
  dice2_->setAccessibleName(QString("Die 2 shows %1").arg(dice2_->Value()));
}

}  // namespace zub
