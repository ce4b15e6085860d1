// The depth-first walk over a parsed document that every search and every
// collection over a device model is built on. A walker is called back for
// each node below the start node; it can stop the walk, and it can keep the
// walk out of the children of the node it was just given by clearing the
// descend flag.
//
// Traverse(start, walker), in this order:
//   - when the walker's depth is 0, begin(start); false stops with false;
//   - for a non-empty start node: push(), then for each child node K in
//     document order (nodes of every kind, not only elements): descend =
//     true; for_each(K, descend) false stops with false at once (no further
//     pop or end); when descend is still true, K's own children are walked
//     the same way between a push() and a pop(); finally pop();
//   - when the walker's depth is 0 again, the result is end(start), else true.
// The start node itself is never given to for_each. The walk keeps its own
// stack on the heap, so the depth of a document does not matter. Walkers
// must not change the document while it is walked.
#ifndef DR_MVQ4_DEVICEMODEL_TREE_WALKER_H
#define DR_MVQ4_DEVICEMODEL_TREE_WALKER_H

#include <pugixml.hpp>

namespace devicemodel {

class TreeWalker {
public:
    TreeWalker() = default;
    virtual ~TreeWalker() = default;
    TreeWalker(const TreeWalker&) = default;
    TreeWalker& operator=(const TreeWalker&) = default;

    virtual void push() { ++m_depth; }
    virtual void pop() {
        if (m_depth > 0) --m_depth;
    }
    // Levels entered and not yet left; never below 0. After a walk that was
    // stopped, the levels it had entered stay counted.
    virtual int depth() const { return m_depth; }
    virtual bool begin(pugi::xml_node) { return true; }
    // Called for each node below the start node; false stops the walk.
    virtual bool for_each(pugi::xml_node node, bool& descend) = 0;
    virtual bool end(pugi::xml_node) { return true; }

protected:
    // For walkers that are reused: forget the levels a stopped walk left.
    void ResetDepth() { m_depth = 0; }

private:
    int m_depth = 0;
};

bool Traverse(pugi::xml_node start, TreeWalker& walker);

}  // namespace devicemodel

#endif
