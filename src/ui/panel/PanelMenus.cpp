#include "ui/panel/PanelMenus.h"

#include <QMenu>
#include <QMenuBar>

namespace {

QMenu* addMenu(QMenuBar* bar, const char* name, const char* caption) {
    QMenu* menu = bar->addMenu(QString::fromLatin1(caption));
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

QMenu* addSubmenu(QMenu* parent, const char* name, const char* caption) {
    QMenu* menu = parent->addMenu(QString::fromLatin1(caption));
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

QAction* addItem(QMenu* menu, const char* name, const char* caption) {
    QAction* action = menu->addAction(QString::fromLatin1(caption));
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

QAction* addSeparator(QMenu* menu, const char* name) {
    QAction* separator = menu->addSeparator();
    separator->setObjectName(QString::fromLatin1(name));
    return separator;
}

} // namespace

PanelMenus PanelMenus::build(QMenuBar* bar) {
    PanelMenus m{};
    m.CMDFILE = addMenu(bar, "CMDFILE", "FILE");
    m.CMDSAVE = addItem(m.CMDFILE, "CMDSAVE", "SAVE AS");
    m.CMDOPEN = addItem(m.CMDFILE, "CMDOPEN", "OPEN FILE");
    m.MNU1 = addSeparator(m.CMDFILE, "MNU1");
    m.CMDSTART = addItem(m.CMDFILE, "CMDSTART", "START RECORDING");
    m.CMDSTOP = addItem(m.CMDFILE, "CMDSTOP", "STOP RECORDING");
    m.CMDSTOP->setEnabled(false);

    m.CMDDISPLAY = addMenu(bar, "CMDDISPLAY", "DISPLAY");
    m.CMDLIST = addItem(m.CMDDISPLAY, "CMDLIST", "LIST");
    m.CMDGRAPH = addSubmenu(m.CMDDISPLAY, "CMDGRAPH", "GRAPH");
    m.MNUHUM = addItem(m.CMDGRAPH, "MNUHUM", "HUMIDITY (%RH)");
    m.MNUTEM = addItem(m.CMDGRAPH, "MNUTEM", "TEMPERATURE (C/F)");

    m.CMDOPTION = addMenu(bar, "CMDOPTION", "OPTION");
    m.CMDMEMORY = addItem(m.CMDOPTION, "CMDMEMORY", "MEMORY");
    m.CMDERASE = addItem(m.CMDOPTION, "CMDERASE", "ERASE");
    m.MNU0 = addSeparator(m.CMDOPTION, "MNU0");
    m.CMDSYSTEM = addItem(m.CMDOPTION, "CMDSYSTEM", "SYSTEM TIME SET");
    m.CMDSAMPLE = addItem(m.CMDOPTION, "CMDSAMPLE", "SAMPLE RATE");
    m.cnn = addSeparator(m.CMDOPTION, "cnn");
    m.cmddew = addItem(m.CMDOPTION, "cmddew", "DEW(FROST)-POINT TEMPERATURE");

    m.MNUV = addMenu(bar, "MNUV", "V2.2");
    return m;
}

void setMenuEnabled(QMenu* menu, bool enabled) {
    menu->menuAction()->setEnabled(enabled);
    menu->setEnabled(enabled);
}

bool isMenuEnabled(const QMenu* menu) {
    return menu->menuAction()->isEnabled();
}
