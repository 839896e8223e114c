#include "FrmDebug.h"

#include "TraceIcons.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kvt::tracer {

namespace {

constexpr int kLineRole = Qt::UserRole;

LineId lineOf(const QTreeWidgetItem *item) {
    return item->data(0, kLineRole).value<LineId>();
}

QPushButton *button(const char *objectName, const QString &caption, QWidget *parent) {
    auto *made = new QPushButton(caption, parent);
    made->setObjectName(QString::fromLatin1(objectName));
    return made;
}

} // namespace

FrmDebug::FrmDebug(TraceDialogs dialogs, TraceTree::Clock clock, QWidget *parent)
    : QWidget(parent)
    , mDialogs(std::move(dialogs))
    , mTree(std::move(clock))
    , TreeDebug(new QTreeWidget(this))
    , txtDebug(new QLineEdit(this))
    , cmdClearAll(button("cmdClearAll", QStringLiteral("L'arbre"), this))
    , cmdClearBranche(button("cmdClearBranche", QStringLiteral("La branche"), this))
    , cmdSave(button("cmdSave", QStringLiteral("Enregistrer..."), this)) {
    setObjectName(QStringLiteral("FrmDebug"));
    for (const char *key : {kIconFunction, kIconInfo, kIconError, kIconClock})
        mImages.emplace(key, traceIcon(key));

    TreeDebug->setObjectName(QStringLiteral("TreeDebug"));
    TreeDebug->setHeaderHidden(true);
    TreeDebug->setColumnCount(1);
    TreeDebug->setIconSize(QSize(16, 16));
    TreeDebug->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    TreeDebug->header()->setStretchLastSection(false);
    txtDebug->setObjectName(QStringLiteral("txtDebug"));
    txtDebug->setReadOnly(true);
    cmdSave->setToolTip(QStringLiteral("Enregistrer la trace dans un fichier texte"));

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(new QLabel(QStringLiteral("Effacer :"), this));
    buttons->addWidget(cmdClearAll);
    buttons->addWidget(cmdClearBranche);
    buttons->addStretch();
    buttons->addWidget(cmdSave);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(TreeDebug, 1);
    layout->addWidget(txtDebug);
    layout->addLayout(buttons);
    resize(520, 600);

    connect(TreeDebug, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *current) {
        txtDebug->setText(current != nullptr ? current->text(0) : QString());
    });
    connect(TreeDebug, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem *item) { txtDebug->setText(item->text(0)); });
    connect(cmdClearAll, &QPushButton::clicked, this, &FrmDebug::cmdClearAll_Click);
    connect(cmdClearBranche, &QPushButton::clicked, this, &FrmDebug::cmdClearBranche_Click);
    connect(cmdSave, &QPushButton::clicked, this, &FrmDebug::saveTrace);
    mTree.setObserver(this);
}

FrmDebug::~FrmDebug() {
    mTree.setObserver(nullptr);
}

QIcon FrmDebug::ImgDebug(const std::string &key) const {
    const auto found = mImages.find(key);
    return found == mImages.end() ? QIcon() : found->second;
}

QTreeWidgetItem *FrmDebug::itemOf(LineId line) const {
    const auto found = mItems.find(line);
    return found == mItems.end() ? nullptr : found->second;
}

void FrmDebug::cmdClearAll_Click() {
    if (!mTree.clearAll())
        showCritical("Il reste encore une branche active");
}

void FrmDebug::cmdClearBranche_Click() {
    const QTreeWidgetItem *selected = TreeDebug->currentItem();
    if (selected == nullptr)
        return;
    if (mTree.removeBranch(lineOf(selected)) == TraceTree::BranchRemoval::ActiveBranch)
        showCritical("On ne peut pas suprimer une branche active");
}

void FrmDebug::saveTrace() {
    const std::optional<QString> path = mDialogs.files->saveFileName(windowTitle() + ".txt");
    if (!path)
        return;
    const std::string text = mTree.Text();
    QSaveFile file(*path);
    const bool saved = file.open(QIODevice::WriteOnly)
                       && file.write(text.data(), static_cast<qint64>(text.size()))
                              == static_cast<qint64>(text.size())
                       && file.commit();
    if (!saved)
        mDialogs.boxes->show({"Talvio",
                              "La trace ne peut pas être enregistrée dans " + path->toStdString()
                                  + " : " + file.errorString().toStdString(),
                              BoxIcon::Critical, BoxButtons::Ok});
}

void FrmDebug::lineAdded(const TraceLine &line, Reveal reveal) {
    QTreeWidgetItem *parent = itemOf(line.parent);
    auto *item = parent != nullptr ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(TreeDebug);
    item->setText(0, QString::fromStdString(line.text));
    item->setIcon(0, ImgDebug(line.icon));
    item->setData(0, kLineRole, QVariant::fromValue(line.id));
    mItems.emplace(line.id, item);
    if (reveal == Reveal::ExpandAndScroll)
        for (QTreeWidgetItem *above = parent; above != nullptr; above = above->parent())
            above->setExpanded(true);
    if (reveal != Reveal::None)
        TreeDebug->scrollToItem(item);
}

void FrmDebug::branchRemoved(LineId line) {
    QTreeWidgetItem *root = itemOf(line);
    if (root == nullptr)
        return;
    std::vector<QTreeWidgetItem *> pending{root};
    while (!pending.empty()) {
        QTreeWidgetItem *item = pending.back();
        pending.pop_back();
        mItems.erase(lineOf(item));
        for (int i = 0; i < item->childCount(); ++i)
            pending.push_back(item->child(i));
    }
    delete root;
}

void FrmDebug::cleared() {
    mItems.clear();
    TreeDebug->clear();
    txtDebug->clear();
}

void FrmDebug::showCritical(const char *text) {
    mDialogs.boxes->show({"Talvio", text, BoxIcon::Critical, BoxButtons::Ok});
}

} // namespace kvt::tracer
