// The evaluation of a device model's parameter dependencies (elements of type
// "dependents" and "typeCodeDependents"). Its results feed no text, channel
// key or load check of this decoder, so it is kept as an empty step: the
// load runs it, and it visits nothing and fills nothing.
#ifndef DR_MVQ4_DEVICEMODEL_C_DATA_MODEL_DEPENDENCY_H
#define DR_MVQ4_DEVICEMODEL_C_DATA_MODEL_DEPENDENCY_H

#include <pugixml.hpp>

#include "devicemodel/TreeWalker.h"

namespace devicemodel {

class CDataModelToHMI;

class CDataModelDependency : public TreeWalker {
public:
    explicit CDataModelDependency(const CDataModelToHMI&) {}

    // Evaluates the dependencies below `start`: nothing to do.
    void Evaluate(pugi::xml_node) {}
    bool for_each(pugi::xml_node, bool& descend) override {
        descend = false;
        return true;
    }
};

}  // namespace devicemodel

#endif
