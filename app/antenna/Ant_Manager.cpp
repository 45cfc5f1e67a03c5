#include "Ant_Manager.h"

#include <QDir>
#include <QDoubleValidator>
#include <QFileInfo>
#include <QSettings>

#include "AntennaCatalogue.h"
#include "Prompter.h"
#include "ui_Ant_Manager.h"

namespace {
// Where the catalogue opened last is remembered for the next start.
const QString kSettingsOrganisation = QStringLiteral("Orvale");
const QString kSettingsApplication = QStringLiteral("RawBench");
const QString kSettingsCatalogue = QStringLiteral("antenna/catalogue");

QString shownPath(const QString& path) {
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

// "./Antenna.ini" of the working directory when there is one, else the file opened last, else
// "./Antenna.ini" again (the first Add creates it).
QString startCataloguePath() {
    const QString local = QFileInfo(QString::fromLatin1(kAntennaCataloguePath)).absoluteFilePath();
    if (QFileInfo::exists(local)) return local;
    const QSettings settings(QSettings::UserScope, kSettingsOrganisation, kSettingsApplication);
    const QString remembered = settings.value(kSettingsCatalogue).toString();
    return remembered.isEmpty() ? local : remembered;
}
}  // namespace

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

    // Enter in any of the four fields adds (or saves) the entry; no button of the dialog is a default
    // button, so Enter never toggles &New or closes the dialog behind the user's back.
    for (QLineEdit* field :
         {ui->lineEdit_name_add, ui->lineEdit_bottom_add, ui->lineEdit_top_add, ui->lineEdit_middle_add})
        connect(field, &QLineEdit::returnPressed, ui->pushButton_add, &QAbstractButton::click);
    connect(ui->pushButton_new, &QAbstractButton::toggled, this, [this](bool shown) {
        if (!shown && editing_ >= 0) on_pushButton_cancel_clicked();
    });

    loadCatalogue();
}

Ant_Manager::~Ant_Manager() { delete ui; }

void Ant_Manager::setPrompter(Prompter* prompter) { prompter_ = prompter; }

Prompter& Ant_Manager::prompter() const { return prompter_ ? *prompter_ : Prompter::standard(); }

void Ant_Manager::loadCatalogue() {
    const QString path = startCataloguePath();
    QStringList names;
    QList<QStringList> entries;
    QString reason;
    const bool read = readAntennaCatalogueFile(path, names, entries, &reason);
    setCatalogue(path, names, entries,
                 read ? QString()
                      : tr("The antenna file %1 cannot be read (%2): every antenna offset is 0.")
                            .arg(shownPath(path), reason));
}

bool Ant_Manager::openCatalogue(const QString& path) {
    QStringList names;
    QList<QStringList> entries;
    QString reason;
    if (!readAntennaCatalogueFile(path, names, entries, &reason)) {
        prompter().askMessage(QMessageBox::Warning, this, tr("Warning"),
                              tr("Cannot read the antenna file %1: %2").arg(shownPath(path), reason));
        return false;
    }
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QSettings(QSettings::UserScope, kSettingsOrganisation, kSettingsApplication)
        .setValue(kSettingsCatalogue, absolute);
    setCatalogue(absolute, names, entries, QString());
    return true;
}

// Takes over the catalogue read from path: lists, file label, problem line and search group.
void Ant_Manager::setCatalogue(const QString& path, const QStringList& names,
                               const QList<QStringList>& entries, const QString& problem) {
    if (editing_ >= 0) on_pushButton_cancel_clicked();  // the entry being edited belongs to the old entries
    path_ = path;
    antennaNames = names;
    antennaEntries = entries;
    problem_ = problem;
    ui->label_catalogue_problem->setText(problem);
    ui->label_catalogue_problem->setVisible(!problem.isEmpty());
    ui->label_catalogue_file->setText(tr("File: %1").arg(QFileInfo(path).fileName()));
    ui->label_catalogue_file->setToolTip(shownPath(path));
    showEntries(0);
}

// Refills the search combo box from the lists, makes entry `current` the shown one and tells the
// listeners that the entries changed.
void Ant_Manager::showEntries(int current) {
    QComboBox* combo = ui->comboBox_ant_type_search;
    {
        const QSignalBlocker blocker(combo);
        combo->clear();
        combo->addItems(antennaNames);
        combo->setCurrentIndex(qMin(current, combo->count() - 1));
    }
    on_comboBox_ant_type_search_currentIndexChanged(combo->currentIndex());
    ui->pushButton_edit->setEnabled(!antennaEntries.isEmpty());
    ui->pushButton_delete->setEnabled(!antennaEntries.isEmpty());
    emit catalogueChanged();
}

void Ant_Manager::on_comboBox_ant_type_search_currentIndexChanged(int index) {
    const QStringList entry = antennaEntries.value(index);  // nothing shown without an entry
    ui->lineEdit_bottom_search->setText(entry.value(1));
    ui->lineEdit_top_search->setText(entry.value(2));
    ui->lineEdit_middle_search->setText(entry.value(3));
}

void Ant_Manager::on_pushButton_add_clicked() {
    const QString name = ui->lineEdit_name_add->text().trimmed();
    const QString bottom = ui->lineEdit_bottom_add->text();
    const QString top = ui->lineEdit_top_add->text();
    const QString middle = ui->lineEdit_middle_add->text();
    if (name.isEmpty() || bottom.isEmpty() || middle.isEmpty() || top.isEmpty()) return;

    // The raw file keeps the antenna type in a comma-separated record, one record a line.
    if (name.contains(QLatin1Char(',')) || name.contains(QLatin1Char('\n')) ||
        name.contains(QLatin1Char('\r'))) {
        prompter().askMessage(QMessageBox::Warning, this, tr("Warning"),
                              tr("An antenna name cannot contain a comma or a line break: %1").arg(name));
        return;
    }
    for (QLineEdit* offset : {ui->lineEdit_bottom_add, ui->lineEdit_top_add, ui->lineEdit_middle_add}) {
        if (offset->hasAcceptableInput()) continue;
        prompter().askMessage(QMessageBox::Warning, this, tr("Warning"),
                              tr("Bottom, Top and Middle are metres from 0 to 100 with at most 3 decimals."));
        return;
    }
    for (qsizetype i = 0; i < antennaNames.size(); ++i) {
        if (i == editing_ || antennaNames[i] != name) continue;
        prompter().askMessage(QMessageBox::Warning, this, tr("Warning"), name + tr(" already exits"));
        return;
    }

    const QStringList entry{name, bottom, top, middle};
    int shown = editing_;
    if (editing_ >= 0) {
        QList<QStringList> entries = antennaEntries;
        entries[editing_] = entry;
        if (!rewrite(entries)) return;  // the fields keep the edit
        antennaEntries = entries;
        antennaNames[editing_] = name;
    } else {
        antennaNames << name;
        antennaEntries << entry;
        if (!appendLastEntry()) {  // the file did not take it: neither does the catalogue
            antennaNames.removeLast();
            antennaEntries.removeLast();
            return;
        }
        shown = int(antennaEntries.size()) - 1;
    }
    on_pushButton_cancel_clicked();
    showEntries(shown);
}

void Ant_Manager::on_pushButton_cancel_clicked() {
    ui->lineEdit_name_add->clear();
    ui->lineEdit_bottom_add->clear();
    ui->lineEdit_top_add->clear();
    ui->lineEdit_middle_add->clear();
    leaveEditMode();
}

void Ant_Manager::writeback_anntype() { appendLastEntry(); }

bool Ant_Manager::appendLastEntry() {
    if (antennaEntries.isEmpty()) return false;
    QString reason;
    if (!appendAntennaEntry(path_, antennaEntries.back(), &reason)) {
        reportWriteFailure(reason);
        return false;
    }
    problem_.clear();  // the file exists now
    ui->label_catalogue_problem->hide();
    return true;
}

bool Ant_Manager::rewrite(const QList<QStringList>& entries) {
    QString reason;
    if (writeAntennaCatalogue(path_, entries, &reason)) return true;
    reportWriteFailure(reason);
    return false;
}

void Ant_Manager::reportWriteFailure(const QString& reason) {
    prompter().askMessage(QMessageBox::Warning, this, tr("Warning"),
                          tr("Cannot write the antenna file %1: %2").arg(shownPath(path_), reason));
}

void Ant_Manager::on_pushButton_open_clicked() {
    const QString path =
        prompter().askOpenFileName(this, tr("Open antenna file"), QFileInfo(path_).absolutePath(),
                                   tr("Antenna files (*.ini);;All files (*)"));
    if (!path.isEmpty()) openCatalogue(path);
}

void Ant_Manager::on_pushButton_edit_clicked() {
    const int index = ui->comboBox_ant_type_search->currentIndex();
    if (index < 0 || index >= antennaEntries.size()) return;
    ui->pushButton_new->setChecked(true);
    editing_ = index;
    const QStringList& entry = antennaEntries[index];
    ui->lineEdit_name_add->setText(entry.value(0));
    ui->lineEdit_bottom_add->setText(entry.value(1));
    ui->lineEdit_top_add->setText(entry.value(2));
    ui->lineEdit_middle_add->setText(entry.value(3));
    ui->groupBox_2->setTitle(tr("Ant Edit"));
    ui->pushButton_add->setText(tr("&Save"));
    ui->lineEdit_name_add->setFocus();
}

void Ant_Manager::on_pushButton_delete_clicked() {
    const int index = ui->comboBox_ant_type_search->currentIndex();
    if (index < 0 || index >= antennaEntries.size()) return;
    const QString name = antennaNames[index];
    if (prompter().askMessage(QMessageBox::Question, this, tr("Delete"),
                              tr("Delete the antenna %1 from %2?").arg(name, shownPath(path_)),
                              QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    QList<QStringList> entries = antennaEntries;
    entries.removeAt(index);
    if (!rewrite(entries)) return;
    antennaEntries = entries;
    antennaNames.removeAt(index);
    if (editing_ == index)
        on_pushButton_cancel_clicked();
    else if (editing_ > index)
        --editing_;
    showEntries(index);
}

void Ant_Manager::leaveEditMode() {
    editing_ = -1;
    ui->groupBox_2->setTitle(tr("Ant Add"));
    ui->pushButton_add->setText(tr("&Add"));
}
