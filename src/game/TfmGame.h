// The craps game window: two dice to click, a message line and the total.
#pragma once

#include <QDialog>

#include "game/CrapsGame.h"
#include "game/DieSource.h"
#include "ui/Prompts.h"

class QLabel;

namespace zub {

class DiceWidget;

class TfmGame : public QDialog {
  Q_OBJECT

 public:
  // `game` and `prompts` must outlive the window. Without `dice` the window
  // rolls with its own clock-seeded generator.
  TfmGame(CrapsGame& game, Prompts& prompts, QWidget* parent = nullptr, DieSource* dice = nullptr);

  void FormActivate();
  void Dice1Click();

  QLabel* Panel1() const { return panel1_; }
  QLabel* Panel2() const { return panel2_; }
  DiceWidget* Dice1() const { return dice1_; }
  DiceWidget* Dice2() const { return dice2_; }

 private:
  void ShowDice();

  CrapsGame& game_;
  Prompts& prompts_;
  ClockDieSource ownDice_;
  DieSource& dice_;
  QLabel* panel1_;
  QLabel* panel2_;
  DiceWidget* dice1_;
  DiceWidget* dice2_;
};

}  // namespace zub
