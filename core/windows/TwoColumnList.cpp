#include "windows/TwoColumnList.h"

#include "windows/WindowLayout.h"

#include <QComboBox>
#include <QHeaderView>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <QTreeView>

namespace kvt::windows {

namespace {

// Rows of code and name, without the tree's decoration or a header, chosen whole.
void shapeAsList(QTreeView &view) {
    view.setRootIsDecorated(false);
    view.setItemsExpandable(false);
    view.setHeaderHidden(true);
    view.setUniformRowHeights(true);
    view.setAllColumnsShowFocus(true);
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    view.setEditTriggers(QAbstractItemView::NoEditTriggers);
    view.header()->setStretchLastSection(true);
}

QAbstractItemView::SelectionMode selectionMode(TwoColumnList::Selection selection) {
    switch (selection) {
    case TwoColumnList::Selection::Multiple:
        return QAbstractItemView::MultiSelection;
    case TwoColumnList::Selection::Extended:
        return QAbstractItemView::ExtendedSelection;
    case TwoColumnList::Selection::Single:
        break;
    }
    return QAbstractItemView::SingleSelection;
}

QStandardItem *entryCell(const std::string &text) {
    auto *cell = new QStandardItem(QString::fromStdString(text));
    cell->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return cell;
}

} // namespace

TwoColumnList::TwoColumnList(const QString &objectName, QWidget *parent, Options options)
    : mOptions(options)
    , mModel(new QStandardItemModel(0, 2, this)) {
    setObjectName(objectName);
    if (mOptions.form == Form::Combo) {
        mCombo = new QComboBox(parent);
        mPopup = new QTreeView;
        shapeAsList(*mPopup);
        mCombo->setView(mPopup);
        mCombo->setModel(mModel);
        mCombo->setEditable(mOptions.editable);
        mCombo->setInsertPolicy(QComboBox::NoInsert);
        // A free combo changes with its text, a choice with its entry; the style may switch.
        connect(mCombo, &QComboBox::currentTextChanged, this, [this] {
            if (mOptions.editable)
                emit changed();
        });
        connect(mCombo, &QComboBox::currentIndexChanged, this, [this] {
            if (!mOptions.editable)
                emit changed();
        });
        connect(mCombo, &QComboBox::activated, this, &TwoColumnList::clicked);
    } else {
        mListView = new QTreeView(parent);
        shapeAsList(*mListView);
        mListView->setModel(mModel);
        mListView->setSelectionMode(selectionMode(mOptions.selection));
        connect(mListView->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                &TwoColumnList::changed);
        connect(mListView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                &TwoColumnList::selectionChanged);
        connect(mListView, &QAbstractItemView::clicked, this, &TwoColumnList::clicked);
    }
    widget()->setObjectName(objectName);
    setParent(widget());
    applyColumns();
}

TwoColumnList *TwoColumnList::of(const QWidget *widget) {
    return widget ? widget->findChild<TwoColumnList *>(QString(), Qt::FindDirectChildrenOnly)
                  : nullptr;
}

QWidget *TwoColumnList::widget() const {
    if (mCombo)
        return mCombo;
    return mListView;
}

void TwoColumnList::setColumnCount(int count) {
    mColumnCount = count < 2 ? 1 : 2;
    applyColumns();
}

void TwoColumnList::setColumnWidths(std::vector<double> points) {
    mColumnWidths = std::move(points);
    applyColumns();
}

void TwoColumnList::setListWidth(double points) {
    mListWidth = points;
    applyColumns();
}

void TwoColumnList::applyColumns() {
    QTreeView &view = mCombo ? *mPopup : *mListView;
    view.setColumnHidden(1, mColumnCount < 2);
    for (std::size_t column = 0; column < mColumnWidths.size() && column < 2; ++column)
        view.setColumnWidth(static_cast<int>(column),
                            pointsToPixels(*widget(), mColumnWidths[column]));
    // The combo's popup is at least as wide as its view asks to be.
    if (mCombo)
        mPopup->setMinimumWidth(mListWidth > 0 ? pointsToPixels(*mCombo, mListWidth) : 0);
}

ListStyle TwoColumnList::Style() const {
    return mOptions.editable ? ListStyle::DropDownCombo : ListStyle::DropDownList;
}

void TwoColumnList::setStyle(ListStyle style) {
    const bool editable = style == ListStyle::DropDownCombo;
    if (!mCombo || editable == mOptions.editable)
        return;
    mOptions.editable = editable;
    const QSignalBlocker quiet(mCombo);
    mCombo->setEditable(editable);
    mCombo->setInsertPolicy(QComboBox::NoInsert);
}

bool TwoColumnList::Enabled() const {
    return widget()->isEnabled();
}

void TwoColumnList::setEnabled(bool enabled) {
    widget()->setEnabled(enabled);
}

QString TwoColumnList::text() const {
    if (mCombo)
        return mCombo->currentText();
    return QString::fromStdString(List(ListIndex()));
}

bool TwoColumnList::setText(const QString &text) {
    const auto matching = mModel->findItems(text, Qt::MatchExactly | Qt::MatchCaseSensitive, 0);
    const int row = matching.isEmpty() ? -1 : matching.front()->row();
    if (mCombo && mOptions.editable) {
        mCombo->setCurrentIndex(row);
        mCombo->setEditText(text);
        return true;
    }
    if (row < 0)
        return false;
    setListIndex(row);
    return true;
}

bool TwoColumnList::validRow(int index) const {
    return index >= 0 && index < mModel->rowCount();
}

void TwoColumnList::Clear() {
    mModel->setRowCount(0);
    if (mCombo && mOptions.editable)
        mCombo->clearEditText();
}

void TwoColumnList::AddItem(const std::string &code, const std::string &name) {
    if (!mCombo) {
        mModel->appendRow({entryCell(code), entryCell(name)});
        return;
    }
    // A combo makes its first entry current by itself; an entry added is only an entry more,
    // as in the list form, and the filler says which is current.
    const int current = mCombo->currentIndex();
    const QString typed = mCombo->currentText();
    const QSignalBlocker quiet(mCombo);
    mModel->appendRow({entryCell(code), entryCell(name)});
    if (mCombo->currentIndex() != current) {
        mCombo->setCurrentIndex(current);
        if (mOptions.editable)
            mCombo->setEditText(typed);
    }
}

int TwoColumnList::ListCount() const {
    return mModel->rowCount();
}

std::string TwoColumnList::List(int index, int column) const {
    const QStandardItem *cell = validRow(index) ? mModel->item(index, column) : nullptr;
    return cell ? cell->text().toStdString() : std::string();
}

int TwoColumnList::ListIndex() const {
    if (mCombo)
        return mCombo->currentIndex();
    const QModelIndex current = mListView->selectionModel()->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void TwoColumnList::setListIndex(int index) {
    const int row = validRow(index) ? index : -1;
    if (mCombo) {
        mCombo->setCurrentIndex(row);
        return;
    }
    // A single-choice list selects what becomes current; a multiple one only moves its cursor.
    const auto command = mOptions.selection == Selection::Single
                             ? QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows
                             : QItemSelectionModel::NoUpdate;
    mListView->selectionModel()->setCurrentIndex(mModel->index(row, 0), command);
}

bool TwoColumnList::Selected(int index) const {
    if (!validRow(index))
        return false;
    if (mCombo)
        return mCombo->currentIndex() == index;
    return mListView->selectionModel()->isRowSelected(index, QModelIndex());
}

void TwoColumnList::setSelected(int index, bool selected) {
    if (!validRow(index))
        return;
    if (mCombo) {
        if (selected)
            mCombo->setCurrentIndex(index);
        else if (mCombo->currentIndex() == index)
            mCombo->setCurrentIndex(-1);
        return;
    }
    if (selected && mOptions.selection == Selection::Single) {
        setListIndex(index);
        return;
    }
    const auto command = (selected ? QItemSelectionModel::Select : QItemSelectionModel::Deselect)
                         | QItemSelectionModel::Rows;
    mListView->selectionModel()->select(mModel->index(index, 0), command);
}

} // namespace kvt::windows
