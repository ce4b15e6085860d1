#include "devicemodel/TreeWalker.h"

#include <vector>

namespace devicemodel {

namespace {

// Walks the nodes below `start`; false when the walker stopped the walk.
bool WalkChildren(pugi::xml_node start, TreeWalker& walker) {
    std::vector<pugi::xml_node> resume;  // per open level: the sibling to continue with
    walker.push();
    pugi::xml_node node = start.first_child();
    for (;;) {
        while (node) {
            bool descend = true;
            if (!walker.for_each(node, descend)) return false;
            if (descend) {
                walker.push();
                resume.push_back(node.next_sibling());
                node = node.first_child();
            } else {
                node = node.next_sibling();
            }
        }
        walker.pop();
        if (resume.empty()) return true;
        node = resume.back();
        resume.pop_back();
    }
}

}  // namespace

bool Traverse(pugi::xml_node start, TreeWalker& walker) {
    const bool outermost = walker.depth() == 0;
    if (outermost && !walker.begin(start)) return false;
    if (start && !WalkChildren(start, walker)) return false;
    return walker.depth() == 0 ? walker.end(start) : true;
}

}  // namespace devicemodel
