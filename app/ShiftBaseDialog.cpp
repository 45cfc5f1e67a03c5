#include "ShiftBaseDialog.h"

#include <QPushButton>
#include <array>

#include "ui_ShiftBaseDialog.h"

ShiftBaseDialog::ShiftBaseDialog(JobSession* session, qsizetype baseRow, QWidget* parent)
    : QDialog(parent), ui(new Ui::ShiftBaseDialog), session_(session), batch_(session) {
    ui->setupUi(this);
    for (const BaseStation& base : session->job().bases) ui->comboBox_base->addItem(base.name);
    ui->comboBox_base->setCurrentIndex(static_cast<int>(baseRow));
    showBaseCoordinates();

    connect(ui->comboBox_base, &QComboBox::currentIndexChanged, this, [this] {
        showBaseCoordinates();
        updatePreview();
    });
    connect(ui->radioButton_shift, &QRadioButton::toggled, this, &ShiftBaseDialog::updatePreview);
    for (QLineEdit* e : {ui->lineEdit_dn, ui->lineEdit_de, ui->lineEdit_dh})
        connect(e, &QLineEdit::textEdited, ui->radioButton_shift, &QRadioButton::click);
    for (QLineEdit* e : {ui->lineEdit_n, ui->lineEdit_e, ui->lineEdit_h})
        connect(e, &QLineEdit::textEdited, ui->radioButton_move, &QRadioButton::click);
    for (QLineEdit* e :
         {ui->lineEdit_dn, ui->lineEdit_de, ui->lineEdit_dh, ui->lineEdit_n, ui->lineEdit_e, ui->lineEdit_h})
        connect(e, &QLineEdit::textChanged, this, &ShiftBaseDialog::updatePreview);
    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &ShiftBaseDialog::accept);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &ShiftBaseDialog::reject);
    updatePreview();
}

ShiftBaseDialog::~ShiftBaseDialog() { delete ui; }

void ShiftBaseDialog::showBaseCoordinates() {
    const qsizetype row = ui->comboBox_base->currentIndex();
    const std::array<QLineEdit*, 3> edits{ui->lineEdit_n, ui->lineEdit_e, ui->lineEdit_h};
    const std::array<EditField, 3> fields{EditField::North, EditField::East, EditField::Height};
    for (std::size_t i = 0; i < edits.size(); ++i) {
        const QSignalBlocker blocker(edits[i]);
        shownValues_[i] = row < 0 ? 0.0 : session_->value(PointKind::Base, row, fields[i]).toDouble();
        shownTexts_[i] = row < 0 ? QString() : fixed4(shownValues_[i]);
        edits[i]->setText(shownTexts_[i]);
    }
}

void ShiftBaseDialog::updatePreview() {
    preview_ = BaseShiftPreview();
    QPushButton* ok = ui->buttonBox->button(QDialogButtonBox::Ok);
    ok->setEnabled(false);
    const qsizetype row = ui->comboBox_base->currentIndex();
    const bool shift = ui->radioButton_shift->isChecked();
    const std::array<QLineEdit*, 3> edits =
        shift ? std::array<QLineEdit*, 3>{ui->lineEdit_dn, ui->lineEdit_de, ui->lineEdit_dh}
              : std::array<QLineEdit*, 3>{ui->lineEdit_n, ui->lineEdit_e, ui->lineEdit_h};
    std::array<double, 3> values{};
    for (std::size_t i = 0; i < edits.size(); ++i) {
        const std::optional<double> v = parseDecimal(edits[i]->text());
        if (!v || row < 0) {
            ui->label_preview->setText(
                tr("\"%1\" is not a number: type metres with a decimal point, e.g. 0.125.")
                    .arg(edits[i]->text())
                    .toHtmlEscaped());
            return;
        }
        values[i] = !shift && edits[i]->text() == shownTexts_[i] ? shownValues_[i] : *v;
    }
    preview_ = shift ? batch_.shiftBase(row, values[0], values[1], values[2])
                     : batch_.moveBase(row, values[0], values[1], values[2]);

    const BaseStation& a = preview_.before;
    const BaseStation& b = preview_.after;
    QString text = QStringLiteral("<table cellspacing='4'>");
    const std::array<QString, 3> labels{tr("N"), tr("E"), tr("H")};
    const std::array<double, 3> from{a.north, a.east, a.height}, to{b.north, b.east, b.height};
    for (std::size_t i = 0; i < 3; ++i)
        text += QStringLiteral(
                    "<tr><td>%1</td><td align='right'>%2</td><td>→</td><td align='right'><b>%3</b></td>"
                    "<td align='right'>(%4)</td></tr>")
                    .arg(labels[i], fixed4(from[i]), fixed4(to[i]), signedFixed4(to[i] - from[i]));
    text += QStringLiteral("</table>");
    if (preview_.moves)
        text += tr("<b>%1 rover(s) follow</b> at Calculate: ΔN %2, ΔE %3, ΔH %4 m.")
                    .arg(preview_.followers)
                    .arg(signedFixed4(preview_.roverShift.north), signedFixed4(preview_.roverShift.east),
                         signedFixed4(preview_.roverShift.height));
    else
        text += tr("The base does not move; its %1 rover(s) stay.").arg(preview_.followers);
    for (const StageRefusal& r : preview_.plan.refusals)
        text += QStringLiteral("<br><span style='color:#b00000'>%1</span>").arg(r.why.toHtmlEscaped());
    if (!preview_.plan.points.isEmpty())
        text += QStringLiteral("<br>") + tr("Pending until Process → Calculate; Undo takes it back at once.");
    ui->label_preview->setText(text);
    ok->setEnabled(!preview_.plan.points.isEmpty());
}

void ShiftBaseDialog::accept() {
    batch_.apply(preview_.plan);
    QDialog::accept();
}
