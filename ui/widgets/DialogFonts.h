#pragma once

#include <QFont>

class QWidget;

// The dialogs' font: 9-point SimSun where it is installed, else an
// installed font with Chinese characters of that size.
QFont DialogFont();
// A fixed-pitch font of the same size, so that the columns of a natural
// form line up.
QFont FixedPitchFont();

// Each one-line text label of `dialog` gets the dialog's font made as small
// as it takes for the text to fit its box, where a stand-in font is wider
// than the one the forms were drawn in.
void FitLabelsToTheirBoxes(QWidget* dialog);
