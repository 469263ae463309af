#pragma once

class QDialog;
class QLayout;
class QPushButton;

namespace toneloft {

// The layout the list tool dialogues share: their options on the left, the
// OK / Cancel / Help column on the right, OK the default button.
void layOutToolDialog(QDialog& dialog, QLayout* options, QPushButton* ok, QPushButton* cancel, QPushButton* help);

} // namespace toneloft
