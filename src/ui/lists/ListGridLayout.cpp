#include "ui/lists/ListGridLayout.h"

#include "ui/lists/Grid.h"

#include <QFontMetrics>
#include <QStyle>

QStringList listHeaderTexts() {
    return {QString(),
            QStringLiteral("Date"),
            QStringLiteral("Time"),
            QStringLiteral(" %RH "),
            QStringLiteral("TEMP"),
            QStringLiteral("C/F"),
            QStringLiteral("BAT")};
}

QStringList listWidthSamples() {
    return {QStringLiteral("ROVARUV"),      QStringLiteral("00-00-0000  "),
            QStringLiteral("00:00:00.00 "), QStringLiteral("###### "),
            QStringLiteral(" TEMP "),       QStringLiteral(" C/F "),
            QStringLiteral(" LOW ")};
}

void setUpListGrid(Grid& grid) {
    const QStringList headers = listHeaderTexts();
    const QStringList samples = listWidthSamples();
    const QFontMetrics metrics(grid.font());
    // A cell keeps a small margin on each side of its text; without it the samples would not fit.
    const int margins =
        2 * (grid.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &grid) + 1);
    grid.setCurrentRow(0);
    for (int column = 0; column < headers.size() && column < grid.columnCount(); ++column) {
        grid.setCurrentColumn(column);
        grid.setColumnWidth(column, metrics.horizontalAdvance(samples[column]) + margins);
        grid.setCurrentText(headers[column]);
    }
}
