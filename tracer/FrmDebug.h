#pragma once

#include "TraceDialogs.h"
#include "TraceTree.h"

#include <QIcon>
#include <QWidget>
#include <map>
#include <string>
#include <unordered_map>

class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace kvt::tracer {

// The trace window: shows its trace tree, the full text of the line clicked, and lets the user
// empty the tree, remove an earlier branch or save the trace as text.
class FrmDebug final : public QWidget, private TraceTreeObserver {
    Q_OBJECT

public:
    explicit FrmDebug(TraceDialogs dialogs, TraceTree::Clock clock = TraceTree::steadyMilliseconds,
                      QWidget *parent = nullptr);
    ~FrmDebug() override;

    TraceTree &tree() { return mTree; }
    const TraceTree &tree() const { return mTree; }
    std::int16_t intLevel() const { return mTree.intLevel(); }

    // The icon of a key of the image list; a null icon for an unknown key.
    QIcon ImgDebug(const std::string &key) const;

    // The tree's item of a line; null when the line is not shown.
    QTreeWidgetItem *itemOf(LineId line) const;

    void cmdClearAll_Click();
    void cmdClearBranche_Click();
    void saveTrace();

private:
    void lineAdded(const TraceLine &line, Reveal reveal) override;
    void branchRemoved(LineId line) override;
    void cleared() override;
    void showCritical(const char *text);

    TraceDialogs mDialogs;
    TraceTree mTree;
    std::map<std::string, QIcon, std::less<>> mImages;
    std::unordered_map<LineId, QTreeWidgetItem *> mItems;
    QTreeWidget *TreeDebug;
    QLineEdit *txtDebug;
    QPushButton *cmdClearAll;
    QPushButton *cmdClearBranche;
    QPushButton *cmdSave;
};

} // namespace kvt::tracer
