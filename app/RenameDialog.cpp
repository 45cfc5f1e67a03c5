#include "RenameDialog.h"

#include <QHash>
#include <QPushButton>

#include "Prompter.h"
#include "ui_RenameDialog.h"

namespace {

// At most this many shared names are listed in the question; the rest are counted.
constexpr qsizetype kNamesListed = 8;

}  // namespace

RenameDialog::RenameDialog(JobSession* session, const QList<qsizetype>& rows, Prompter& prompter,
                           QWidget* parent)
    : QDialog(parent),
      ui(new Ui::RenameDialog),
      session_(session),
      batch_(session),
      rows_(rows),
      prompter_(prompter) {
    ui->setupUi(this);
    setWindowTitle(tr("Rename %1 rover(s)").arg(rows_.size()));
    for (QLineEdit* e : {ui->lineEdit_find, ui->lineEdit_replace})
        connect(e, &QLineEdit::textChanged, this, &RenameDialog::updatePreview);
    connect(ui->checkBox_regex, &QCheckBox::toggled, this, &RenameDialog::updatePreview);
    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &RenameDialog::accept);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &RenameDialog::reject);
    updatePreview();
}

RenameDialog::~RenameDialog() { delete ui; }

void RenameDialog::updatePreview() {
    preview_ = batch_.rename(rows_, ui->lineEdit_find->text(), ui->lineEdit_replace->text(),
                             ui->checkBox_regex->isChecked());
    ui->treeWidget_preview->clear();
    QHash<qsizetype, const RenameLine*> lineOf;
    for (const RenameLine& line : preview_.lines) lineOf.insert(line.row, &line);
    // Every selected rover, in table order: the new name, why it is refused, or that it stays.
    QList<QTreeWidgetItem*> items;
    qsizetype refused = 0;
    for (qsizetype row : rows_) {
        const RenameLine* line = lineOf.value(row);
        if (!line) {
            auto* item = new QTreeWidgetItem(QStringList{
                session_->value(PointKind::Rover, row, EditField::Name).toString(), tr("(unchanged)")});
            item->setForeground(1, QColor(0x80, 0x80, 0x80));
            items << item;
            continue;
        }
        auto* item = new QTreeWidgetItem(QStringList{line->before, line->after});
        if (!line->problem.isEmpty()) {
            ++refused;
            item->setForeground(1, QColor(0xb0, 0, 0));
            item->setText(1, tr("%1 — refused: %2").arg(line->after, line->problem));
        } else if (preview_.sharedNames.contains(line->after)) {
            item->setForeground(1, QColor(0xa0, 0x60, 0));
            item->setText(1, tr("%1 — another rover has this name").arg(line->after));
        }
        items << item;
    }
    ui->treeWidget_preview->addTopLevelItems(items);
    ui->treeWidget_preview->resizeColumnToContents(0);

    QString summary;
    if (!preview_.problem.isEmpty())
        summary = preview_.problem;
    else
        summary = tr("%1 of %2 rover(s) renamed.").arg(preview_.lines.size() - refused).arg(rows_.size());
    if (refused > 0) summary += QLatin1Char(' ') + tr("%1 refused (kept as they are).").arg(refused);
    if (!preview_.sharedNames.isEmpty())
        summary += QLatin1Char(' ') +
                   tr("%1 name(s) would be shared by two rovers or more.").arg(preview_.sharedNames.size());
    ui->label_summary->setText(summary);
    ui->buttonBox->button(QDialogButtonBox::Ok)->setEnabled(!preview_.plan.points.isEmpty());
}

void RenameDialog::accept() {
    if (!preview_.sharedNames.isEmpty()) {
        QString names = preview_.sharedNames.mid(0, kNamesListed).join(QStringLiteral(", "));
        if (preview_.sharedNames.size() > kNamesListed)
            names += tr(" and %1 more").arg(preview_.sharedNames.size() - kNamesListed);
        if (prompter_.askMessage(QMessageBox::Question, this, tr("Rename rovers"),
                                 tr("After this rename two or more rovers of the job would share a name: "
                                    "%1.\n\nRename them all the same?")
                                     .arg(names),
                                 QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
            return;  // the dialog stays open to change the pattern
    }
    batch_.apply(preview_.plan);
    QDialog::accept();
}
