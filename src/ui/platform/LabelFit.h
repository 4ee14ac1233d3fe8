#pragma once

#include <QRect>

class QLabel;

// Sizes a label to its caption around the anchor of its design box, in pixels: a left-aligned
// label keeps its left edge, a centred one its centre, a right-aligned one its right edge; the
// top stays. A box of width 0 has no anchor but its left edge. A label whose background is
// painted keeps at least its designed size (keepDesignSize), so that a row of coloured boxes
// stays even; the others are exactly as wide as their text.
void fitLabelToAnchor(QLabel* label, const QRect& designBox, bool keepDesignSize = false);
