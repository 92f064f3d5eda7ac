#pragma once
// A model kept for the whole fuzzing run and put back to its fresh state
// before each input. The model is a megabyte of tables; allocating and
// zeroing a new one per input (under AddressSanitizer, which maps and
// poisons every large block) cost more than reading the input itself.

#include "model/Model.h"

#include <memory>

namespace rahmen::fuzz {

class ReusedModel {
public:
    // The model as a new one is: every table and count zero.
    Model& fresh() {
        *model_ = pristine();
        return *model_;
    }

private:
    static const Model& pristine() {
        static const std::unique_ptr<const Model> model = std::make_unique<Model>();
        return *model;
    }

    std::unique_ptr<Model> model_ = std::make_unique<Model>();
};

} // namespace rahmen::fuzz
