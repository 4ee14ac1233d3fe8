#pragma once

#include <QFont>
#include <QString>

// The windows are laid out for Times New Roman, Arial, MS Sans Serif and Tahoma. They are drawn
// in free faces with the same advance widths, so that every caption fits the box designed for
// it: Liberation Serif for Times New Roman, Liberation Sans for the sans-serif faces.
namespace LayoutFonts {

QString standIn(const QString& designFamily);
QFont font(const QString& designFamily, double points, bool bold);

} // namespace LayoutFonts
