#include "core/plan/plan_answers.h"

#include <map>
#include <utility>

namespace kova {
namespace {

/// The answers given so far, by question; none for a question the user declined.
using AnswerBook = std::map<std::pair<PlanPick, std::string>, std::optional<PlanAnswer>>;

/// A beam is settled in at most three rounds of questions: its linac, then its energy, then
/// its wedge, tray and shield together.
constexpr int kQuestionRounds = 3;

/// Answers every question of `beam` into `answers`, asking only those not answered before;
/// false, with the beam refused, when one is declined.
bool AnswerQuestions(ImportedBeam& beam, PlanAnswers& answers, AnswerBook& book,
                     const PlanAsker& ask) {
    for (const PlanQuestion& question : beam.questions) {
        const auto key = std::make_pair(question.pick, question.text);
        auto known = book.find(key);
        if (known == book.end()) {
            known = book.emplace(key, ask(beam, question)).first;
        }
        if (!known->second) {
            beam.refusal = question.text + ": not answered";
            beam.questions.clear();
            return false;
        }
        SetAnswer(answers, question, *known->second);
    }
    return true;
}

} // namespace

void SetAnswer(PlanAnswers& answers, const PlanQuestion& question, const PlanAnswer& answer) {
    switch (question.pick) {
    case PlanPick::Machine:
        answers.linac = answer.name;
        break;
    case PlanPick::Energy:
        answers.energy = answer.name;
        break;
    case PlanPick::Wedge:
        answers.wedge = answer.name;
        break;
    case PlanPick::Tray:
        answers.tray = answer.onTheSpot;
        answers.trayName = answer.name;
        break;
    case PlanPick::Shield:
        answers.shield = answer.onTheSpot;
        answers.shieldName = answer.name;
        break;
    }
}

std::vector<ImportedBeam> ImportPlanAsking(const PlanData& plan,
                                           const std::vector<std::unique_ptr<TLinacSpec>>& linacs,
                                           const PlanAsker& ask, const std::string& source) {
    AnswerBook book;
    std::vector<ImportedBeam> beams;
    for (std::size_t i = 0; i < plan.beams.size(); ++i) {
        PlanAnswers answers;
        ImportedBeam beam = ImportPlanBeam(plan, i, linacs, answers, source);
        for (int round = 0; round < kQuestionRounds && !beam.questions.empty(); ++round) {
            if (!AnswerQuestions(beam, answers, book, ask)) {
                break;
            }
            beam = ImportPlanBeam(plan, i, linacs, answers, source);
        }
        if (!beam.Ready() && beam.refusal.empty()) {
            // Still a question after every round: an answer did not settle it.
            beam.refusal = beam.Problem();
            beam.questions.clear();
        }
        beams.push_back(std::move(beam));
    }
    return beams;
}

} // namespace kova
