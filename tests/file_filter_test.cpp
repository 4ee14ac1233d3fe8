#include "platform/QtDialogs.h"

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>

// The file dialog's "All Files (*.*)" shows every file, names without a dot too, and its label
// reads as the program gives it.
class FileFilterTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
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
};

QTEST_MAIN(FileFilterTest)
#include "file_filter_test.moc"
