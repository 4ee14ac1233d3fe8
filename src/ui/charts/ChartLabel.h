#pragma once

#include <QLabel>

// A chart label that sizes itself to its caption around a fixed anchor, in pixels: the left edge
// of a left-aligned label, the centre of a centred one, the right edge of a right-aligned one;
// the top stays. It keeps at least its minimum box, so a reading of a few characters still
// fills its frame.
class ChartLabel final : public QLabel {
    Q_OBJECT
public:
    ChartLabel(QWidget* parent, int anchorX, int top, Qt::Alignment alignment,
               QSize minimumBox = {});

    void setCaption(const QString& caption);

protected:
    void changeEvent(QEvent* event) override;

private:
    void fit();

    int anchorX_;
    int top_;
    QSize minimumBox_;
};
