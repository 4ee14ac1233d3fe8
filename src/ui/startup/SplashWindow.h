#pragma once

#include <QWidget>

// VORMAK, the maker's small splash window that stands beside the panel for the whole run.
class SplashWindow final : public QWidget {
    Q_OBJECT
public:
    explicit SplashWindow(QWidget* parent);
};
