// Lays out an option sheet: its tabs above OK and Cancel.
#pragma once

class QDialog;
class QTabWidget;

void LayOutOptionSheet(QDialog& sheet, QTabWidget* tabs);
