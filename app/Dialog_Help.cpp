#include "Dialog_Help.h"

#include "ui_Dialog_Help.h"

Dialog_Help::Dialog_Help(QWidget* parent) : QDialog(parent), ui(new Ui::Dialog_Help) { ui->setupUi(this); }

Dialog_Help::~Dialog_Help() { delete ui; }
