#pragma once

#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// The few controls the chart dialogs are made of, placed in twips on the dialog's client area.
namespace DialogControls {

// The dialogs' face: MS Sans Serif's stand-in at 8 points, set on the dialog for all its controls.
void setDialogFont(QWidget* dialog);
// A caption sized to its text, its top left corner at (left, top).
QLabel* addCaption(QWidget* dialog, const char* name, const QString& text, int left, int top);
QLineEdit* addBox(QWidget* dialog, const char* name, int left, int top, int width, int height);
QPushButton* addButton(QWidget* dialog, const char* name, const QString& text, int left, int top,
                       int width, int height);

} // namespace DialogControls
