// SPDX-License-Identifier: GPL-3.0-or-later
// The tree of settings pages and the card stack it drives.
#pragma once

#include <QTreeWidget>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/form/PageTree.h"

class QStackedWidget;

namespace calvorin {

// Mirrors a PageTree: one item per node (top-level nodes bold, disabled nodes greyed, all expanded),
// the current item on the selected node, and the stack showing the selected node's card. A selection by
// the user goes through `select`; when it refuses, the selection returns to the model's node.
class PageTreeView : public QTreeWidget {
  public:
    PageTreeView(PageTree& tree, std::function<bool(int)> select, QWidget* parent);
    ~PageTreeView() override;

    // Puts a card into the stack under its name, as the nodes name it.
    void AddCard(const std::string& name, QWidget* card, QStackedWidget* stack);

    // Index of the node shown by this item, -1 when none.
    int IndexOf(const QTreeWidgetItem* item) const;
    QTreeWidgetItem* ItemAt(int index) const;

  private:
    void Show();
    void Rebuild();
    void OnCurrentChanged(QTreeWidgetItem* current);

    PageTree& tree_;
    std::function<bool(int)> select_;
    std::vector<QTreeWidgetItem*> items_;
    std::map<std::string, QWidget*> cards_;
    QStackedWidget* stack_ = nullptr;
};

}  // namespace calvorin
