#pragma once

class QAction;
class QMenu;
class QMenuBar;

// The main window's menu bar, in its order, every menu and item named as the program knows it.
// Items that open windows not present in this build are there and do nothing.
struct PanelMenus {
    QMenu* CMDFILE;
    QAction* CMDSAVE;
    QAction* CMDOPEN;
    QAction* MNU1;
    QAction* CMDSTART;
    QAction* CMDSTOP;
    QMenu* CMDDISPLAY;
    QAction* CMDLIST;
    QMenu* CMDGRAPH;
    QAction* MNUHUM;
    QAction* MNUTEM;
    QMenu* CMDOPTION;
    QAction* CMDMEMORY;
    QAction* CMDERASE;
    QAction* MNU0;
    QAction* CMDSYSTEM;
    QAction* CMDSAMPLE;
    QAction* cnn;
    QAction* cmddew;
    QMenu* MNUV;

    static PanelMenus build(QMenuBar* bar);
};

// Greys a whole menu of the bar out or back in.
void setMenuEnabled(QMenu* menu, bool enabled);
bool isMenuEnabled(const QMenu* menu);
