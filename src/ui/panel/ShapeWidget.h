#pragma once

#include "ui/panel/PanelLayout.h"

#include <QColor>
#include <QWidget>

// A drawn shape of the front panel: a filled rectangle, rounded rectangle or circle. It takes
// no clicks; those go to whatever lies on top of it.
class ShapeWidget final : public QWidget {
    Q_OBJECT
public:
    ShapeWidget(QWidget* parent, PanelLayout::ShapeKind kind, quint32 fill);

    void setFillColor(quint32 fill);
    QColor fillColor() const { return fill_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PanelLayout::ShapeKind kind_;
    QColor fill_;
};
