#include "ui/platform/LabelFit.h"

#include <QLabel>
#include <algorithm>

void fitLabelToAnchor(QLabel* label, const QRect& designBox, bool keepDesignSize) {
    const QSize text = label->sizeHint();
    const int width = keepDesignSize ? std::max(text.width(), designBox.width()) : text.width();
    const int height = std::max(text.height(), designBox.height());
    int left = designBox.left();
    if (designBox.width() > 0) {
        const Qt::Alignment alignment = label->alignment();
        if (alignment & Qt::AlignHCenter)
            left += (designBox.width() - width) / 2;
        else if (alignment & Qt::AlignRight)
            left += designBox.width() - width;
    }
    label->setGeometry(left, designBox.top(), width, height);
}
