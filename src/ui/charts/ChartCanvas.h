#pragma once

#include "logic/charts/ChartWindowLayout.h"

#include <QImage>
#include <QLineF>
#include <QList>
#include <QWidget>

// A chart window's client area: its background, the fixed frame lines, the labels and the trace.
// The trace is kept in an image behind the window, so a window that was covered shows it again
// whole; a change of size starts an empty one.
class ChartCanvas final : public QWidget {
    Q_OBJECT
public:
    ChartCanvas(QWidget* parent, const ChartWindowLayout& layout);

    const ChartLabels& labels() const { return labels_; }

    // Segments in twips, drawn in the trace colour on top of what is there.
    void drawSegments(const QList<QLineF>& segments);
    void clearTrace();
    // The segments drawn since the trace was last cleared, in twips.
    const QList<QLineF>& trace() const { return trace_; }
    // The trace's colour: dark blue reads well on the white chart and on paper.
    static QColor traceColour();

Q_SIGNALS:
    // The client area changed its size (its first showing included); the trace is empty.
    void resized();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QLineF toPixels(const QLineF& twips) const;

    const ChartWindowLayout& layout_;
    double pixelsPerTwip_;
    ChartLabels labels_;
    QImage image_;
    QList<QLineF> trace_;
};
