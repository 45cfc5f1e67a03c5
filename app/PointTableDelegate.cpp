#include "PointTableDelegate.h"

#include <QAbstractItemView>
#include <QAbstractProxyModel>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>

#include "PointTableModel.h"

namespace {

bool isComboCell(const QModelIndex& index) { return index.data(PointTableModel::ChoiceTextsRole).isValid(); }

// The combo box drawn in a cell that is not being edited.
QStyleOptionComboBox comboOption(const QStyleOptionViewItem& option, const QModelIndex& index) {
    QStyleOptionComboBox box;
    box.rect = option.rect.adjusted(1, 1, -1, -1);
    box.state = QStyle::State_Enabled | (option.state & QStyle::State_Selected);
    box.palette = option.palette;
    box.fontMetrics = option.fontMetrics;
    box.direction = option.direction;
    box.frame = true;
    box.editable = false;
    box.currentText = index.data(Qt::DisplayRole).toString();
    const QVariant background = index.data(Qt::BackgroundRole);
    if (background.canConvert<QBrush>()) box.palette.setBrush(QPalette::Button, background.value<QBrush>());
    const QVariant foreground = index.data(Qt::ForegroundRole);
    if (foreground.canConvert<QBrush>())
        box.palette.setBrush(QPalette::ButtonText, foreground.value<QBrush>());
    return box;
}

}  // namespace

PointTableDelegate::PointTableDelegate(QAbstractItemView* view) : QStyledItemDelegate(view), view_(view) {}

void PointTableDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    if (!isComboCell(index)) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    item.text.clear();
    QStyle* style = item.widget ? item.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, item.widget);
    const QStyleOptionComboBox box = comboOption(item, index);
    painter->save();
    if (index.data(Qt::FontRole).canConvert<QFont>())
        painter->setFont(index.data(Qt::FontRole).value<QFont>());
    style->drawComplexControl(QStyle::CC_ComboBox, &box, painter, item.widget);
    style->drawControl(QStyle::CE_ComboBoxLabel, &box, painter, item.widget);
    painter->restore();
}

QSize PointTableDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    if (!isComboCell(index)) return QStyledItemDelegate::sizeHint(option, index);
    QStyleOptionComboBox box = comboOption(option, index);
    const QSize text = option.fontMetrics.size(Qt::TextSingleLine, box.currentText);
    QStyle* style = option.widget ? option.widget->style() : QApplication::style();
    return style->sizeFromContents(QStyle::CT_ComboBox, &box, text, option.widget) + QSize(4, 2);
}

QWidget* PointTableDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                          const QModelIndex& index) const {
    auto* self = const_cast<PointTableDelegate*>(this);
    QWidget* editor = nullptr;
    if (isComboCell(index)) {
        auto* combo = new QComboBox(parent);
        // A choice made in the list is the edit: commit it at once.
        connect(combo, &QComboBox::activated, self, [self, combo] {
            emit self->commitData(combo);
            emit self->closeEditor(combo);
        });
        editor = combo;
    } else {
        auto* line = new QLineEdit(parent);
        const auto* model = qobject_cast<const PointTableModel*>(index.model());
        const auto* proxy = qobject_cast<const QAbstractProxyModel*>(index.model());
        if (!model && proxy) model = qobject_cast<const PointTableModel*>(proxy->sourceModel());
        const bool isName = model && model->editField(index.column()) == EditField::Name;
        // Any text can be typed (a key swallowed silently would turn "3519163,7023" into another number);
        // text that cannot be taken is shown in red with the reason while typing and refused on commit.
        connect(line, &QLineEdit::textChanged, line, [line, isName](const QString& text) {
            const QString why = isName ? pointNameProblem(text)
                                : parseDecimal(text)
                                    ? QString()
                                    : tr("Type a number with a decimal point, e.g. 1234.5678.");
            line->setStyleSheet(why.isEmpty() ? QString() : QStringLiteral("color: #b00000"));
            line->setToolTip(why);
        });
        editor = line;
    }
    editor->setFont(option.font);
    openEditor_ = editor;
    openIndex_ = index;
    return editor;
}

void PointTableDelegate::destroyEditor(QWidget* editor, const QModelIndex& index) const {
    if (editor == openEditor_) {
        openEditor_.clear();
        openIndex_ = QPersistentModelIndex();
    }
    QStyledItemDelegate::destroyEditor(editor, index);
}

// Called again whenever the cell's data changes while its editor is open (a refusal marks the cell): what
// the user has typed or chosen there is kept.
void PointTableDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        if (combo->count() > 0) return;
        const QStringList texts = index.data(PointTableModel::ChoiceTextsRole).toStringList();
        const QVariantList values = index.data(PointTableModel::ChoiceValuesRole).toList();
        combo->clear();
        for (qsizetype i = 0; i < texts.size() && i < values.size(); ++i) combo->addItem(texts[i], values[i]);
        combo->setCurrentIndex(int(values.indexOf(index.data(Qt::EditRole))));
        return;
    }
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (line && !line->isModified()) line->setText(index.data(Qt::EditRole).toString());
}

void PointTableDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                      const QModelIndex& index) const {
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        if (combo->currentIndex() >= 0) model->setData(index, combo->currentData(), Qt::EditRole);
        return;
    }
    if (auto* line = qobject_cast<QLineEdit*>(editor)) model->setData(index, line->text(), Qt::EditRole);
}

bool PointTableDelegate::commitOpenEditor() {
    if (openEditor_.isNull() || !openIndex_.isValid()) return true;
    QWidget* editor = openEditor_;
    QVariant value;
    if (auto* combo = qobject_cast<QComboBox*>(editor))
        value = combo->currentData();
    else if (auto* line = qobject_cast<QLineEdit*>(editor))
        value = line->text();
    auto* model = const_cast<QAbstractItemModel*>(openIndex_.model());
    if (value.isValid() && !model->setData(openIndex_, value, Qt::EditRole)) {
        editor->setFocus();
        return false;
    }
    emit closeEditor(editor, QAbstractItemDelegate::NoHint);
    return true;
}

bool PointTableDelegate::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Wheel && qobject_cast<QComboBox*>(watched)) {
        // The wheel scrolls the table; it never turns the open combo box.
        QCoreApplication::sendEvent(view_->viewport(), event);
        return true;
    }
    return QStyledItemDelegate::eventFilter(watched, event);
}
