#include "ui/charts/ChartLabel.h"

#include <QEvent>
#include <algorithm>

ChartLabel::ChartLabel(QWidget* parent, int anchorX, int top, Qt::Alignment alignment,
                       QSize minimumBox)
    : QLabel(parent), anchorX_(anchorX), top_(top), minimumBox_(minimumBox) {
    setAlignment(alignment);
    fit();
}

void ChartLabel::setCaption(const QString& caption) {
    if (caption == text())
        return;
    setText(caption);
    fit();
}

void ChartLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fit();
}

void ChartLabel::fit() {
    const QSize text = sizeHint();
    const int width = std::max(text.width(), minimumBox_.width());
    const int height = std::max(text.height(), minimumBox_.height());
    int left = anchorX_;
    if (alignment() & Qt::AlignHCenter)
        left -= width / 2;
    else if (alignment() & Qt::AlignRight)
        left -= width;
    setGeometry(left, top_, width, height);
}
