// SPDX-License-Identifier: GPL-3.0-or-later
// The tree of settings pages and the card stack it drives.
#pragma once

#include <QPointer>
#include <QStackedWidget>
#include <QTreeWidget>
#include <functional>
#include <string>
#include <vector>

#include "app/form/PageTree.h"

namespace calvorin {

// Mirrors a PageTree: one item per node (top-level nodes bold, disabled nodes greyed, all expanded),
// the current item on the selected node, and the stack showing the selected node's card. A selection by
// the user goes through `select`; when it refuses, the selection returns to the model's node.
//
// Each card is built when first shown, or all at once by BuildAllCards.
class PageTreeView : public QTreeWidget {
  public:
    using CardBuilder = std::function<QWidget*()>;

    // `stack` receives the cards.
    PageTreeView(PageTree& tree, std::function<bool(int)> select, QStackedWidget* stack, QWidget* parent);
    ~PageTreeView() override;

    // Registers the card the nodes call `name`; `build` makes it (a child of the stack) when it is needed.
    void AddCard(const std::string& name, CardBuilder build);
    // Builds every card not built yet, in the order they were added.
    void BuildAllCards();
    bool AllCardsBuilt() const;

    // Index of the node shown by this item, -1 when none.
    int IndexOf(const QTreeWidgetItem* item) const;
    QTreeWidgetItem* ItemAt(int index) const;

  private:
    void Show();
    void Rebuild();
    void OnCurrentChanged(QTreeWidgetItem* current);

    PageTree& tree_;
    std::function<bool(int)> select_;
    struct Card {
        std::string name;
        CardBuilder build;
        QWidget* widget = nullptr;
    };
    QWidget* Built(Card& card);

    std::vector<QTreeWidgetItem*> items_;
    std::vector<Card> cards_;
    QPointer<QStackedWidget> stack_;  // a sibling, which may go first when the window is destroyed
};

}  // namespace calvorin
