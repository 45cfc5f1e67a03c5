#include "SetAntennaDialog.h"

#include <QPushButton>
#include <QSet>

#include "ui_SetAntennaDialog.h"

SetAntennaDialog::SetAntennaDialog(JobSession* session, const QList<qsizetype>& selectedRows,
                                   const QStringList& antennaNames, const QStringList& methodNames,
                                   QWidget* parent)
    : QDialog(parent),
      ui(new Ui::SetAntennaDialog),
      batch_(session),
      selected_(selectedRows),
      methodNames_(methodNames) {
    ui->setupUi(this);
    ui->radioButton_selection->setText(tr("Selected in the table (%1)").arg(selected_.size()));
    if (selected_.isEmpty()) ui->radioButton_base->setChecked(true);
    for (const BaseStation& base : session->job().bases) ui->comboBox_base->addItem(base.name);
    // The base of the first selected rover is the likely one.
    if (!selected_.isEmpty()) {
        const int base = ui->comboBox_base->findText(session->job().rovers.value(selected_.first()).baseName);
        if (base >= 0) ui->comboBox_base->setCurrentIndex(base);
    }
    ui->comboBox_type->addItem(tr("keep"));
    ui->comboBox_type->addItems(antennaNames);
    ui->comboBox_method->addItem(tr("keep"));
    ui->comboBox_method->addItems(methodNames);
    fillFilterValues();

    for (QRadioButton* b : {ui->radioButton_selection, ui->radioButton_base, ui->radioButton_filter})
        connect(b, &QRadioButton::toggled, this, &SetAntennaDialog::updatePreview);
    connect(ui->comboBox_filter_field, &QComboBox::currentIndexChanged, this, [this] {
        fillFilterValues();
        ui->radioButton_filter->setChecked(true);
        updatePreview();
    });
    connect(ui->comboBox_base, &QComboBox::activated, ui->radioButton_base, &QRadioButton::click);
    connect(ui->comboBox_filter_value, &QComboBox::activated, ui->radioButton_filter, &QRadioButton::click);
    for (QComboBox* c :
         {ui->comboBox_base, ui->comboBox_filter_value, ui->comboBox_type, ui->comboBox_method})
        connect(c, &QComboBox::currentIndexChanged, this, &SetAntennaDialog::updatePreview);
    connect(ui->lineEdit_height, &QLineEdit::textChanged, this, &SetAntennaDialog::updatePreview);
    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &SetAntennaDialog::accept);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &SetAntennaDialog::reject);
    updatePreview();
}

SetAntennaDialog::~SetAntennaDialog() { delete ui; }

void SetAntennaDialog::fillFilterValues() {
    const auto field = static_cast<RoverFilterField>(ui->comboBox_filter_field->currentIndex());
    const QSignalBlocker blocker(ui->comboBox_filter_value);
    ui->comboBox_filter_value->clear();
    for (const auto& [value, count] : batch_.distinctValues(field)) {
        QString text = value.toString();
        if (field == RoverFilterField::AntennaHeight) text = fixed4(value.toDouble());
        if (field == RoverFilterField::Method)
            text = methodNames_.value(value.toInt(), tr("Method %1").arg(value.toInt()));
        ui->comboBox_filter_value->addItem(tr("%1 (%2)").arg(text).arg(count), value);
    }
}

QList<qsizetype> SetAntennaDialog::chosenRows() const {
    if (ui->radioButton_base->isChecked()) return batch_.roversOfBase(ui->comboBox_base->currentIndex());
    if (ui->radioButton_filter->isChecked()) {
        if (ui->comboBox_filter_value->currentIndex() < 0) return {};
        return batch_.roversWith(static_cast<RoverFilterField>(ui->comboBox_filter_field->currentIndex()),
                                 ui->comboBox_filter_value->currentData());
    }
    return selected_;
}

std::optional<AntennaSetUp> SetAntennaDialog::setUp(QString* problem) const {
    AntennaSetUp s;
    if (ui->comboBox_type->currentIndex() > 0) s.type = ui->comboBox_type->currentText();
    if (ui->comboBox_method->currentIndex() > 0) s.method = ui->comboBox_method->currentIndex() - 1;
    const QString height = ui->lineEdit_height->text();
    if (!height.trimmed().isEmpty()) {
        s.height = parseDecimal(height);
        if (!s.height) {
            *problem = tr("\"%1\" is not a number: type the antenna height in metres with a decimal point, "
                          "e.g. 2.000.")
                           .arg(height);
            return std::nullopt;
        }
    }
    if (!s.type && !s.height && !s.method) {
        *problem = tr("Choose a new antenna type, height or method: everything is kept.");
        return std::nullopt;
    }
    return s;
}

void SetAntennaDialog::updatePreview() {
    preview_ = AntennaPreview();
    QPushButton* ok = ui->buttonBox->button(QDialogButtonBox::Ok);
    QString problem;
    const std::optional<AntennaSetUp> wanted = setUp(&problem);
    const QList<qsizetype> rows = chosenRows();
    if (wanted) preview_ = batch_.setAntenna(rows, *wanted);
    ok->setEnabled(wanted && !preview_.plan.points.isEmpty());
    if (!wanted) {
        ui->label_preview->setText(
            tr("%1 rover(s) chosen. %2").arg(rows.size()).arg(problem.toHtmlEscaped()));
        return;
    }
    const qsizetype changing = preview_.plan.points.size();
    QString text = tr("<b>%1 of %2 rover(s) change.</b>").arg(changing).arg(rows.size());
    if (changing > 0) {
        text += QStringLiteral(" ") +
                (signedFixed4(preview_.lowestHeightChange) == signedFixed4(preview_.highestHeightChange)
                     ? tr("Calculate changes their heights H by %1 m.")
                           .arg(signedFixed4(preview_.lowestHeightChange))
                     : tr("Calculate changes their heights H by %1 m to %2 m.")
                           .arg(signedFixed4(preview_.lowestHeightChange),
                                signedFixed4(preview_.highestHeightChange)));
    }
    QSet<qsizetype> refused, touched;
    for (const StageRefusal& r : preview_.plan.refusals) refused.insert(r.row);
    for (const StagedPoint& p : preview_.plan.points) touched.insert(p.row);
    touched.unite(refused);
    const qsizetype same = rows.size() - touched.size();
    if (same > 0) text += QStringLiteral("<br>") + tr("%1 already show this set-up.").arg(same);
    if (!preview_.plan.refusals.isEmpty())
        text += QStringLiteral("<br><span style='color:#b00000'>") +
                tr("%1 keep theirs: %2")
                    .arg(refused.size())
                    .arg(preview_.plan.refusals.first().why.toHtmlEscaped()) +
                QStringLiteral("</span>");
    text += QStringLiteral("<br>") +
            tr("The edits stay pending until Process → Calculate; Undo takes them back at once.");
    ui->label_preview->setText(text);
}

// apply() takes each value against the job as it is now; the dialog is modal, so that is the job previewed.
void SetAntennaDialog::accept() {
    batch_.apply(preview_.plan);
    QDialog::accept();
}
