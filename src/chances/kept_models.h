#pragma once

#include "chances/chance_model.h"

#include <optional>
#include <string>

namespace zelkor {

class JvStore;

// Fitted models are kept in the store beside the records, in the table
// chance_models (period, race count, feature version, the numbers), each
// under the fingerprint of the records it was fitted on: the count and the
// sums of the made dates and data kinds of the RA, SE and O1 of the races
// before the day. An import that adds or changes such a race changes the
// fingerprint, so the model kept for it is never used again; a model of
// another feature version is fitted again.

// The fingerprint of the races dated before `date`; empty when the store
// cannot be read.
std::string historyFingerprint(JvStore& store, int date);

// The model kept under `fingerprint` at the current feature version.
std::optional<ChanceModel> keptModel(JvStore& store, const std::string& fingerprint);

// Keeps `model` under `fingerprint`, in place of one of the same period.
// A store that cannot be written keeps nothing, silently: it is only a
// cache, the next run fits again. Indexes of the made dates and kinds make
// the next fingerprint cheap.
void keepModel(const std::string& storePath, const std::string& fingerprint,
               const ChanceModel& model);

// The model's numbers as text and back: a model with the weights of the text
// (its period and race count left empty), none for text that is not one.
std::string modelNumbers(const ChanceModel& model);
std::optional<ChanceModel> readModelNumbers(std::string_view text);

} // namespace zelkor
