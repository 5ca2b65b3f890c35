// Whole figures on a Qt panel: a label's text at the largest size up to its
// design size at which the text fits inside the panel.
#pragma once

#include <QString>

class QFont;
class QLabel;

namespace zub {

// Sets `text` on `label` in the label's font face at `designPoints` (points
// at 96 pixels per inch, as the windows size their fonts), or at the largest
// smaller size at which the whole text fits the label's inside. The label
// keeps fitting its text again whenever its width changes.
void SetFittedText(QLabel* label, const QString& text, int designPoints);

// The same rule for a new design size with the text the label shows now.
void SetFittedPointSize(QLabel* label, int designPoints);

// The pixel width a label leaves for one line of text: inside its frame,
// margins and (for left- or right-aligned text) its indent.
int TextRoom(const QLabel& label);

}  // namespace zub
