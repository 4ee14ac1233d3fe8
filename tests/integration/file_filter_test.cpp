#include "ui/platform/QtDialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <optional>

// Qt's own file dialog as the program shows it: "All Files (*.*)" shows every file, names
// without a dot too, its labels read as the program gives them, and it leaves nothing in the
// user's settings.
class FileFilterTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A home of the test's own, taken before any dialog reads the settings' place.
    void initTestCase() {
        QVERIFY(home_.isValid());
        qputenv("HOME", QFile::encodeName(home_.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(userConfig()));
        dialogs_.emplace();
    }

    void savingLeavesNoSettings() {
        QTimer answer;
        connect(&answer, &QTimer::timeout, this, [] {
            // The name is already in its box: SAVE, as a press of its default button.
            if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget()))
                static_cast<QDialog*>(dialog)->accept();
        });
        answer.start(10);
        const QString path = home_.filePath(QStringLiteral("run.dat"));
        QCOMPARE(dialogs_->chooseFile(nullptr, {true, QStringLiteral("Data File|*.dat|"), path}),
                 path);
        QVERIFY(!QFile::exists(userConfig() + QStringLiteral("/QtProject.conf")));
    }

    void allFilesListsANameWithoutADot() {
        QTemporaryDir dir;
        for (const char* name : {"DATAFILE", "run.dat"}) {
            QFile file(dir.filePath(QString::fromLatin1(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QFileDialog dialog;
        dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
        const QStringList filters =
            qtFileFilters(QStringLiteral("Data Files (*.dat)|*.dat|All Files (*.*)|*.*|"));
        dialog.setNameFilters(filters);
        dialog.setDirectory(dir.path());
        dialog.selectNameFilter(filters[1]);
        auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        QCOMPARE(types->currentText(), QStringLiteral("All Files (*.*)"));

        auto* view = dialog.findChild<QListView*>(QStringLiteral("listView"));
        const auto listed = [view] {
            QStringList names;
            for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row)
                names << view->model()->index(row, 0, view->rootIndex()).data().toString();
            names.sort();
            return names;
        };
        QTRY_COMPARE(listed(), QStringList({"DATAFILE", "run.dat"}));
        dialog.selectNameFilter(filters[0]);
        QTRY_COMPARE(listed(), QStringList({"run.dat"}));
    }

private:
    QString userConfig() const { return home_.filePath(QStringLiteral(".config")); }

    QTemporaryDir home_;
    std::optional<QtDialogs> dialogs_;
};

QTEST_MAIN(FileFilterTest)
#include "file_filter_test.moc"
