#include "Legibility.h"

#include "ui/lists/Grid.h"

#include <QAbstractButton>
#include <QFontInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QStyle>
#include <QStyleOptionButton>

namespace {

struct Caption {
    QString name;
    QRect ink; // in the window's coordinates
};

QString needsMessage(const QString& name, int needed, int width) {
    return QStringLiteral("%1 needs %2 px and has %3").arg(name).arg(needed).arg(width);
}

class Walk {
public:
    explicit Walk(const QWidget* window) : window_(window) {}

    QStringList run() {
        for (const QWidget* widget : window_->findChildren<QWidget*>()) {
            if (!widget->isVisibleTo(window_) || widget->window() != window_)
                continue;
            if (const auto* label = qobject_cast<const QLabel*>(widget)) {
                const int m = label->margin();
                checkCaption(label, label->text(), label->contentsRect().adjusted(m, m, -m, -m),
                             label->alignment());
            } else if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
                QStyleOptionButton option;
                option.initFrom(button);
                option.text = button->text();
                checkCaption(
                    button, button->text(),
                    button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button),
                    Qt::AlignCenter);
            } else if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) {
                checkLineEdit(edit);
            } else if (const auto* bar = qobject_cast<const QMenuBar*>(widget)) {
                checkMenuBar(bar);
            } else if (const auto* grid = qobject_cast<const Grid*>(widget)) {
                checkGrid(grid);
            }
        }
        for (qsizetype i = 0; i < captions_.size(); ++i)
            for (qsizetype j = i + 1; j < captions_.size(); ++j)
                if (captions_[i].ink.intersects(captions_[j].ink))
                    problems_ << QStringLiteral("%1 and %2 are drawn over each other")
                                     .arg(captions_[i].name, captions_[j].name);
        return problems_;
    }

private:
    static QString nameOf(const QWidget* widget, const QString& text) {
        const QString name = widget->objectName().isEmpty()
                                 ? QString::fromLatin1(widget->metaObject()->className())
                                 : widget->objectName();
        return QStringLiteral("%1 \"%2\"").arg(name, text);
    }

    // The face a font resolves to, looked up once per font.
    static QString familyOf(const QFont& font) {
        static QHash<QString, QString> resolved;
        auto found = resolved.constFind(font.key());
        if (found == resolved.constEnd())
            found = resolved.insert(font.key(), QFontInfo(font).family());
        return *found;
    }

    // The part of a widget that the window shows: its rect cut by every ancestor's.
    QRect shownPart(const QWidget* widget) const {
        QRect shown(widget->mapTo(window_, QPoint(0, 0)), widget->size());
        for (const QWidget* parent = widget->parentWidget(); parent != nullptr && parent != window_;
             parent = parent->parentWidget())
            shown &= QRect(parent->mapTo(window_, QPoint(0, 0)), parent->size());
        return shown & window_->rect();
    }

    // Checks one line of text drawn in box by alignment and keeps its ink for the overlap test.
    void checkCaption(const QWidget* widget, const QString& text, const QRect& box,
                      Qt::Alignment alignment) {
        if (text.isEmpty())
            return;
        const QString name = nameOf(widget, text);
        const QString family = familyOf(widget->font());
        if (family != QLatin1String("Liberation Sans") &&
            family != QLatin1String("Liberation Serif"))
            problems_ << QStringLiteral("%1 is drawn in %2, not a stand-in face").arg(name, family);
        const QFontMetrics metrics = widget->fontMetrics();
        const int needed = metrics.horizontalAdvance(text);
        const QRect block = QStyle::alignedRect(widget->layoutDirection(), alignment,
                                                QSize(needed, metrics.height()), box);
        const QPoint offset = widget->mapTo(window_, QPoint(0, 0));
        const QRect ink = metrics.tightBoundingRect(text).translated(
            offset + QPoint(block.left(), block.top() + metrics.ascent()));
        if (!ink.intersects(window_->rect()))
            return; // parked outside the window by design
        // The text's own line, advance by height: a glyph's overhang of a pixel beyond it is
        // the face's own and is not counted as a cut.
        if (needed > box.width())
            problems_ << needsMessage(name, needed, box.width());
        else if (metrics.height() > box.height())
            problems_ << QStringLiteral("%1 is cut at the top or bottom of its box").arg(name);
        else if (!shownPart(widget).contains(block.translated(offset)))
            problems_ << QStringLiteral("%1 is cut by the edge of the window").arg(name);
        captions_ << Caption{name, ink};
    }

    void checkLineEdit(const QLineEdit* edit) {
        // Qt keeps two pixels each side of a line edit's text.
        const QRect box =
            edit->contentsRect().marginsRemoved(edit->textMargins()).adjusted(2, 0, -2, 0);
        checkWidth(nameOf(edit, edit->text()), edit->fontMetrics().horizontalAdvance(edit->text()),
                   box.width());
    }

    void checkWidth(const QString& name, int needed, int width) {
        if (needed > width)
            problems_ << needsMessage(name, needed, width);
    }

    void checkMenuBar(const QMenuBar* bar) {
        for (QAction* action : bar->actions()) {
            const QRect place = bar->actionGeometry(action);
            if (action->isVisible() && !action->isSeparator() &&
                (place.isEmpty() || !bar->rect().contains(place)))
                problems_ << QStringLiteral("menu \"%1\" does not fit its bar").arg(action->text());
        }
    }

    void checkGrid(const Grid* grid) {
        const QAbstractItemModel* model = grid->model();
        // A cell keeps a focus margin and a pixel each side of its text.
        const int cellMargin =
            grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1;
        const QRect viewport = grid->viewport()->rect();
        for (int row = grid->rowAt(0); row >= 0 && row < model->rowCount(); ++row) {
            if (grid->visualRect(model->index(row, 0)).top() > viewport.bottom())
                break;
            for (int column = 0; column < model->columnCount(); ++column) {
                const QString text = model->index(row, column).data().toString();
                if (!text.isEmpty())
                    checkWidth(QStringLiteral("cell %1,%2 \"%3\"").arg(row).arg(column).arg(text),
                               grid->fontMetrics().horizontalAdvance(text) + 2 * cellMargin,
                               grid->columnWidth(column));
            }
        }
        const auto* header = grid->findChild<const QHeaderView*>();
        if (header == nullptr || !header->isVisible())
            return;
        const int headerMargin =
            grid->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
        for (int column = 0; column < model->columnCount(); ++column) {
            const QString text = model->headerData(column, Qt::Horizontal).toString();
            if (!text.trimmed().isEmpty())
                checkWidth(QStringLiteral("heading \"%1\"").arg(text),
                           header->fontMetrics().horizontalAdvance(text) + 2 * headerMargin,
                           header->sectionSize(column));
        }
    }

    const QWidget* window_;
    QList<Caption> captions_;
    QStringList problems_;
};

} // namespace

QStringList legibilityProblems(const QWidget* window) {
    return Walk(window).run();
}
