// SPDX-License-Identifier: GPL-3.0-or-later
// The tree of settings pages and the card area: node i shows card i.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace calvorin {

struct TreeNode {
    std::string text;
    int level = 0;  // 0 top level, 1 child
    std::string card;
    bool enabled = true;
};

// Nodes and cards share absolute indices: the node at position i (children counted) shows card i.
class PageTree {
  public:
    PageTree();

    const std::vector<TreeNode>& Nodes() const { return nodes_; }
    int Selected() const { return selected_; }
    // The card shown, which is always the selected node's card.
    const std::string& ActiveCard() const { return nodes_[selected_].card; }

    // Index of the node whose card has this name, -1 when removed.
    int IndexOfCard(const std::string& card) const;

    // Selects a node as a click or a key would: refused (returns false) when the node is disabled or
    // out of range; otherwise the node's card is shown.
    bool Select(int index);

    void SetEnabled(int index, bool enabled);

    // Removes the first node and its card; later indices move down by one.
    void RemoveFirst();

    std::function<void()> viewChanged;

  private:
    void Notify() {
        if (viewChanged) viewChanged();
    }
    std::vector<TreeNode> nodes_;
    int selected_ = 0;
};

}  // namespace calvorin
