#include "Ant_Manager.h"

#include <QDoubleValidator>
#include <QFile>
#include <QFileInfo>
#include <QStringConverter>
#include <QTextStream>

#include "AntennaCatalogue.h"
#include "Prompter.h"
#include "ui_Ant_Manager.h"

Ant_Manager::Ant_Manager(QWidget* parent) : QDialog(parent), ui(new Ui::Ant_Manager), prompter_(nullptr) {
    ui->setupUi(this);
    ui->groupBox_2->hide();
    ui->pushButton_add->hide();
    ui->pushButton_cancel->hide();

    // One validator for the three offsets: metres from 0 to 100 with at most millimetres, '.' as separator.
    auto* offsetValidator = new QDoubleValidator(0.0, 100.0, 3, this);
    offsetValidator->setNotation(QDoubleValidator::StandardNotation);
    offsetValidator->setLocale(QLocale::c());
    ui->lineEdit_bottom_add->setValidator(offsetValidator);
    ui->lineEdit_top_add->setValidator(offsetValidator);
    ui->lineEdit_middle_add->setValidator(offsetValidator);

    antennaEntries.clear();
    loadCatalogue();
    ui->comboBox_ant_type_search->addItems(antennaNames);
}

Ant_Manager::~Ant_Manager() { delete ui; }

void Ant_Manager::setPrompter(Prompter* prompter) { prompter_ = prompter; }

void Ant_Manager::loadCatalogue() {
    QFile file(QString::fromLatin1(kAntennaCataloguePath));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return;
    QTextStream in(&file);
    in.setEncoding(QStringConverter::System);
    readAntennaCatalogue(in, antennaNames, antennaEntries);
}

void Ant_Manager::on_comboBox_ant_type_search_currentIndexChanged(int index) {
    if (index < 0 || index >= antennaEntries.size()) return;
    const QStringList& entry = antennaEntries[index];
    ui->lineEdit_bottom_search->setText(entry.value(1));
    ui->lineEdit_top_search->setText(entry.value(2));
    ui->lineEdit_middle_search->setText(entry.value(3));
}

void Ant_Manager::on_pushButton_add_clicked() {
    const QString name = ui->lineEdit_name_add->text();
    const QString bottom = ui->lineEdit_bottom_add->text();
    const QString top = ui->lineEdit_top_add->text();
    const QString middle = ui->lineEdit_middle_add->text();
    if (name.isEmpty() || bottom.isEmpty() || middle.isEmpty() || top.isEmpty()) return;

    if (antennaNames.contains(name)) {
        Prompter& ask = prompter_ ? *prompter_ : Prompter::standard();
        ask.askMessage(QMessageBox::Warning, this, tr("Warning"), name + tr(" already exits"));
        return;
    }

    antennaNames << name;
    antennaEntries << QStringList{name, bottom, top, middle};
    ui->comboBox_ant_type_search->addItem(name);
    ui->comboBox_ant_type_search->setCurrentIndex(ui->comboBox_ant_type_search->count() - 1);
    on_pushButton_cancel_clicked();
    writeback_anntype();
}

void Ant_Manager::on_pushButton_cancel_clicked() {
    ui->lineEdit_name_add->clear();
    ui->lineEdit_bottom_add->clear();
    ui->lineEdit_top_add->clear();
    ui->lineEdit_middle_add->clear();
}

void Ant_Manager::writeback_anntype() {
    if (antennaEntries.isEmpty()) return;
    const QString path = QString::fromLatin1(kAntennaCataloguePath);
    QString reason;
    if (appendAntennaEntry(path, antennaEntries.back(), &reason)) return;
    // The entry stays in memory; say so instead of pretending it was saved.
    Prompter& ask = prompter_ ? *prompter_ : Prompter::standard();
    ask.askMessage(QMessageBox::Warning, this, tr("Warning"),
                   tr("Could not add \"%1\" to the antenna file %2: %3")
                       .arg(antennaEntries.back().value(0), QFileInfo(path).absoluteFilePath(), reason));
}
