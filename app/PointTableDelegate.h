#pragma once
// Draws the antenna type and method cells of the point tables as combo boxes in every row, and creates a
// real editor only while a cell is edited: a combo box for those cells, a line edit for the others that
// shows in red, while typing, text the cell will refuse (not a decimal number; a name with a comma or a
// line break).
//
// The wheel never changes a value: over a cell it scrolls the table (there is no widget there to turn),
// and over an open combo editor it is handed to the table as well.
#include <QPersistentModelIndex>
#include <QPointer>
#include <QStyledItemDelegate>

class QAbstractItemView;

class PointTableDelegate : public QStyledItemDelegate {
    Q_OBJECT

  public:
    explicit PointTableDelegate(QAbstractItemView* view);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

    // Commits the editor that is open, if any, and closes it. False when its text was refused: the editor
    // then stays open with the reason shown, and the caller should not go on as if it had been taken.
    bool commitOpenEditor();
    bool hasOpenEditor() const { return !openEditor_.isNull(); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QAbstractItemView* view_;
    mutable QPointer<QWidget> openEditor_;
    mutable QPersistentModelIndex openIndex_;
};
