// Lays out an option sheet: its tabs above OK, Cancel and Help.
#pragma once

class QDialog;
class QTabWidget;

void LayOutOptionSheet(QDialog& sheet, QTabWidget* tabs);
