#pragma once

#include "ui/ListControl.h"

#include <QObject>
#include <QString>
#include <vector>

class QComboBox;
class QStandardItemModel;
class QTreeView;
class QWidget;

namespace kvt::windows {

// A combo or list of the library's windows: entries of a code and a name, as the fillers of
// the driver see them (kvt::ListControl). It makes and drives a standard widget (a QComboBox
// whose popup shows both columns, or a two-column list view) that the window lays out, names
// and gives a label buddy (QLabel::setBuddy(list->widget())), so the label names it for
// screen readers and its mnemonic reaches it. The list lives as long as its widget.
//
// Keyboard: the widgets' own: arrows move, typing jumps to the next entry whose code starts
// with the letters typed, F4 or Alt+Down opens the combo's list, Space ticks entries of a
// multiple list.
class TwoColumnList final : public QObject, public ListControl {
    Q_OBJECT
public:
    enum class Form { Combo, List };
    // How many entries of the list form can be selected: one, any by clicking or Space each,
    // or ranges with Shift and Ctrl.
    enum class Selection { Single, Multiple, Extended };
    struct Options {
        Form form = Form::Combo;
        Selection selection = Selection::Single; // list form
        bool editable = false; // combo form: the user may type a text that is no entry (setStyle)
    };

    // The widget gets objectName as its objectName (the control's name in the window), and
    // the list too, so that either is found by it.
    TwoColumnList(const QString &objectName, QWidget *parent, Options options);
    TwoColumnList(const QString &objectName, QWidget *parent)
        : TwoColumnList(objectName, parent, Options{}) {}

    // The list attached to a widget made by a TwoColumnList; null for any other widget.
    static TwoColumnList *of(const QWidget *widget);

    QWidget *widget() const;
    QComboBox *comboBox() const { return mCombo; }    // null in the list form
    QTreeView *listView() const { return mListView; } // null in the combo form
    const Options &options() const { return mOptions; }

    // Columns shown, 1 (the codes alone) or 2.
    int columnCount() const { return mColumnCount; }
    void setColumnCount(int count) override;
    // Widths of the leading columns in points; the last column shown takes the rest.
    void setColumnWidths(std::vector<double> points) override;
    const std::vector<double> &columnWidths() const { return mColumnWidths; }
    // Least width of the combo's open list in points, which may exceed the combo's own so
    // that the names show beside the codes; 0 for the combo's width.
    void setListWidth(double points) override;
    double listWidth() const { return mListWidth; }
    // A combo switches between free typing and choice at any time; the list form is always a
    // choice.
    ListStyle Style() const override;
    void setStyle(ListStyle style) override;
    bool Enabled() const override;
    void setEnabled(bool enabled) override;
    std::string Text() const override { return text().toStdString(); }
    void setText(const std::string &value) override { setText(QString::fromStdString(value)); }

    // What the combo shows: the current entry's code, or the text typed in an editable combo.
    // In the list form, the current entry's code.
    QString text() const;
    // Shows text: typed into an editable combo, otherwise by making current the first entry
    // whose code is text exactly; false, with nothing changed, when there is none.
    bool setText(const QString &text);

    void Clear() override;
    void AddItem(const std::string &code, const std::string &name = {}) override;
    int ListCount() const override;
    std::string List(int index, int column = 0) const override;
    int ListIndex() const override;
    // An index outside the entries leaves none current.
    void setListIndex(int index) override;
    // In the combo form the current entry is the one selected.
    bool Selected(int index) const override;
    void setSelected(int index, bool selected) override;

signals:
    // The current entry, or the typed text, changed: by the user or by code.
    void changed();
    // The user picked an entry: in the combo's list, or with the mouse in the list form.
    void clicked();
    // The selected entries of the list form changed.
    void selectionChanged();

private:
    void applyColumns();
    bool validRow(int index) const;

    Options mOptions;
    QStandardItemModel *mModel;
    QComboBox *mCombo = nullptr;
    QTreeView *mListView = nullptr;
    QTreeView *mPopup = nullptr; // the combo's list
    int mColumnCount = 2;
    std::vector<double> mColumnWidths;
    double mListWidth = 0;
};

} // namespace kvt::windows
