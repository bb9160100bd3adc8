#pragma once

// Importing a plan with the user: each question a beam of the plan raises is put to the
// user, once for the whole plan, and the beam imported again with the answer until it is
// ready or refused.

#include "core/plan/plan_import.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kova {

/// The user's answer to one question.
struct PlanAnswer {
    std::string name;                       ///< one of the question's candidates
    std::optional<ModifierValue> onTheSpot; ///< a tray or shield made on the spot instead
};

/// Puts `question` about `beam` to the user; none when the user declines to answer.
using PlanAsker = std::function<std::optional<PlanAnswer>(const ImportedBeam& beam,
                                                          const PlanQuestion& question)>;

/// Stores `answer` to `question` among a beam's answers.
void SetAnswer(PlanAnswers& answers, const PlanQuestion& question, const PlanAnswer& answer);

/// Imports every beam of `plan` in plan order as ImportPlanBeam does, asking `ask` each
/// question a beam raises and importing the beam again with the answers, until it is ready
/// or refused. A question already answered for an earlier beam (the same question: same
/// pick and text) takes that answer without asking again. A declined question refuses its
/// beam ("QUESTION: not answered") and every later beam that raises it; an answer that does
/// not settle its question refuses the beam with the question.
std::vector<ImportedBeam> ImportPlanAsking(const PlanData& plan,
                                           const std::vector<std::unique_ptr<TLinacSpec>>& linacs,
                                           const PlanAsker& ask, const std::string& source = {});

} // namespace kova
