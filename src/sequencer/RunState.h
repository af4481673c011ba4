// RunState: what belongs to the run of the show rather than to one scene
// object: a camera a script chose, the presses already made, the fluid's
// pen. A scene that is built twice in one run carries on with it.
//
// One object per run, owned by the Demo and handed to every stage builder;
// a builder asks it for the record its scene keeps (get<T>()), which is made
// the first time anyone asks and lives as long as the run. Tests hand their
// scenes records of their own instead.
#pragma once

#include <memory>
#include <typeindex>
#include <unordered_map>

class RunState {
public:
    template <class Record>
    Record& get()
    {
        std::shared_ptr<void>& slot = records[std::type_index(typeid(Record))];
        if (!slot)
            slot = std::make_shared<Record>();
        return *static_cast<Record*>(slot.get());
    }

private:
    std::unordered_map<std::type_index, std::shared_ptr<void>> records;
};
