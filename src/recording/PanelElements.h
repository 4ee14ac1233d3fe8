#pragma once

#include <QAction>
#include <QLabel>
#include <QWidget>

// The recorder and the list windows know the main window only by the names of its menu items
// and labels, so they can be built and tested apart from it.
template <class Element> Element* panelElement(const QWidget* panel, const QString& name) {
    return panel ? panel->findChild<Element*>(name) : nullptr;
}

inline QAction* panelAction(const QWidget* panel, const QString& name) {
    return panelElement<QAction>(panel, name);
}

inline QLabel* panelLabel(const QWidget* panel, const QString& name) {
    return panelElement<QLabel>(panel, name);
}

inline void setPanelActionEnabled(const QWidget* panel, const QString& name, bool enabled) {
    if (QAction* action = panelAction(panel, name))
        action->setEnabled(enabled);
}

inline void setPanelLabelVisible(const QWidget* panel, const QString& name, bool visible) {
    if (QLabel* label = panelLabel(panel, name))
        label->setVisible(visible);
}

// Labels the main window sizes to their text (marked "sizedToText") follow a new caption.
inline void setPanelLabelText(const QWidget* panel, const QString& name, const QString& text) {
    QLabel* label = panelLabel(panel, name);
    if (!label)
        return;
    label->setText(text);
    if (label->property("sizedToText").toBool())
        label->adjustSize();
}

inline QString panelLabelText(const QWidget* panel, const QString& name) {
    const QLabel* label = panelLabel(panel, name);
    return label ? label->text() : QString();
}
