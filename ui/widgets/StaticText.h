#pragma once

#include <QLabel>

// A static text of several lines: tabs stop every eight average character
// widths and lines are as far apart as the font is high, as the dialogs
// were laid out for; Qt's defaults (wider tab stops, and the leading of
// whichever Chinese font stands in) would push the last lines out of the
// control.
class StaticText : public QLabel {
    Q_OBJECT
  public:
    explicit StaticText(QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent* event) override;
};
