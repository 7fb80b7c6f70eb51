#include "StaticText.h"

#include <QPainter>
#include <QTextLayout>

StaticText::StaticText(QWidget* parent) : QLabel(parent) {}

void StaticText::paintEvent(QPaintEvent*) {
    QString text = this->text();
    text.replace(QLatin1Char('\n'), QChar::LineSeparator);
    QTextOption option(Qt::AlignLeft | Qt::AlignTop);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setTabStopDistance(8.0 * fontMetrics().horizontalAdvance(QLatin1Char('x')));
    QTextLayout layout(text, font());
    layout.setTextOption(option);
    const int lineHeight = QFontInfo(font()).pixelSize() + 1;
    layout.beginLayout();
    for (int y = 0;; y += lineHeight) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(contentsRect().width());
        line.setPosition(QPointF(0, y));
    }
    layout.endLayout();
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    layout.draw(&painter, contentsRect().topLeft());
}
