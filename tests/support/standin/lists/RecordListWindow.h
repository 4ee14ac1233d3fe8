#pragma once

#include <QMainWindow>

class Grid;
class QLabel;
struct Platform;
struct SharedState;

// Stand-in for the record list window while it is being built elsewhere: the same face (grid,
// status caption, row step, signals), none of its menus. Deleted on close, as the real one is.
class RecordListWindow final : public QMainWindow {
    Q_OBJECT

public:
    RecordListWindow(QWidget* parent, SharedState& state, const Platform& platform);

    Grid& grid() { return *grid_; }
    void setStatusCaption(const QString& text);
    void appendRecordRow(const QString& rowText);

Q_SIGNALS:
    void humidityChartRequested();
    void temperatureChartRequested();
    void unloaded();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    Grid* grid_;
    QLabel* caption_;
};
