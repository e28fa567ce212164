// The main window's search panel: modes, the ingredient list, fridge files.
#include "mainwindow/FrmMain.h"

void FrmMain::connectSearchPanel() { }
bool FrmMain::searchPanelEvent(QObject*, QEvent*)
{
    return false;
}
void FrmMain::FillSeekModes() { }
void FrmMain::RunSeek() { }
void FrmMain::AddSeekItem() { }
void FrmMain::EditSeekItem() { }
void FrmMain::ClearSeekList() { }
void FrmMain::RemoveSeekItem() { }
void FrmMain::OpenFridge() { }
void FrmMain::SaveFridge() { }
