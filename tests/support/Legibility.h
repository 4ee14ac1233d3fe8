#pragma once

#include <QStringList>

class QWidget;

// Everything a user could not read in a window as it stands: a caption (label, button, menu
// title, table cell or heading) cut by its own box or by the window's edge, two captions drawn
// over each other, a caption in a face other than the layout's stand-ins. Hidden widgets and
// widgets that lie wholly outside the window (parked beyond its edge by design) are skipped.
// Empty when all is legible.
QStringList legibilityProblems(const QWidget* window);
