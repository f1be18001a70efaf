// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PageTreeView.h"

#include <QHeaderView>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <algorithm>

#include "ui/QtText.h"

namespace calvorin {

PageTreeView::PageTreeView(PageTree& tree, std::function<bool(int)> select, QStackedWidget* stack,
                           QWidget* parent)
    : QTreeWidget(parent), tree_(tree), select_(std::move(select)), stack_(stack) {
    setObjectName(QStringLiteral("TreeView"));
    setHeaderHidden(true);
    setColumnCount(1);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Every node stays expanded, so no expand arrows: the longest title then fits the 180 px.
    setItemsExpandable(false);
    setRootIsDecorated(false);
    setIndentation(16);
    setUniformRowHeights(true);  // every title on one line in one size: measured once, not per item
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    connect(this, &QTreeWidget::currentItemChanged,
            [this](QTreeWidgetItem* current) { OnCurrentChanged(current); });
    tree_.viewChanged = [this] { Show(); };
    Show();
}

PageTreeView::~PageTreeView() {
    tree_.viewChanged = nullptr;
}

void PageTreeView::AddCard(const std::string& name, CardBuilder build) {
    cards_.push_back({name, std::move(build)});
    Show();
}

void PageTreeView::BuildAllCards() {
    if (!stack_) return;
    for (Card& card : cards_) Built(card);
}

bool PageTreeView::AllCardsBuilt() const {
    return std::all_of(cards_.begin(), cards_.end(), [](const Card& card) { return card.widget != nullptr; });
}

QWidget* PageTreeView::Built(Card& card) {
    if (!card.widget) {
        card.widget = card.build();
        card.widget->setObjectName(ToQString(card.name));
        stack_->addWidget(card.widget);
    }
    return card.widget;
}

int PageTreeView::IndexOf(const QTreeWidgetItem* item) const {
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i] == item) return static_cast<int>(i);
    return -1;
}

QTreeWidgetItem* PageTreeView::ItemAt(int index) const {
    return index >= 0 && index < static_cast<int>(items_.size()) ? items_[index] : nullptr;
}

// The items are made apart from the view and handed over at once: each change to an item in the view
// would make the header measure every title again.
void PageTreeView::Rebuild() {
    clear();
    items_.clear();
    QList<QTreeWidgetItem*> topLevel;
    QTreeWidgetItem* parent = nullptr;
    for (const auto& node : tree_.Nodes()) {
        auto* item = node.level == 0 || !parent ? new QTreeWidgetItem() : new QTreeWidgetItem(parent);
        if (node.level == 0 || !parent) topLevel.append(item);
        item->setText(0, ToQString(node.text));
        QFont font = this->font();
        font.setBold(node.level == 0);
        item->setFont(0, font);
        if (node.level == 0) parent = item;
        items_.push_back(item);
    }
    addTopLevelItems(topLevel);
    expandAll();
}

void PageTreeView::Show() {
    QSignalBlocker block(this);
    const auto& nodes = tree_.Nodes();
    bool sameNodes = nodes.size() == items_.size();
    for (size_t i = 0; sameNodes && i < nodes.size(); ++i)
        sameNodes = items_[i]->text(0) == ToQString(nodes[i].text);
    if (!sameNodes) Rebuild();
    // Only real changes reach the items: each one makes the header measure every title again.
    for (size_t i = 0; i < nodes.size(); ++i)
        if (items_[i]->isDisabled() != !nodes[i].enabled) items_[i]->setDisabled(!nodes[i].enabled);
    if (auto* item = ItemAt(tree_.Selected()); item && item != currentItem()) setCurrentItem(item);
    auto card = std::find_if(cards_.begin(), cards_.end(),
                             [&](const Card& c) { return c.name == tree_.ActiveCard(); });
    if (stack_ && card != cards_.end()) stack_->setCurrentWidget(Built(*card));
}

void PageTreeView::OnCurrentChanged(QTreeWidgetItem* current) {
    int index = IndexOf(current);
    if (index >= 0) select_(index);
    Show();  // the model's node: the new one, or the old one when the form refused
}

}  // namespace calvorin
