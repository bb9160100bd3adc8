// The workbench model: moving nodes, dose totals, information lines and the treatment choices.

#include "core/beams/photon_beam.h"
#include "core/workbench/treatment_choice.h"
#include "core/workbench/workbench.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kova {
namespace {

struct Named {
    std::string name;
};

std::vector<std::unique_ptr<Named>> List(const std::string& names) {
    std::vector<std::unique_ptr<Named>> list;
    for (char c : names) {
        list.push_back(std::make_unique<Named>(Named{std::string(1, c)}));
    }
    return list;
}

std::string Order(const std::vector<std::unique_ptr<Named>>& list) {
    std::string order;
    for (const auto& item : list) {
        order += item->name;
    }
    return order;
}

TEST(DropRule, TheDraggedNodeGoesWhereTheIndicatorShows) {
    struct Case {
        const char* before;
        std::size_t target;
        std::size_t dragged;
        DropPlace place;
        const char* after;
        bool moved;
    };
    constexpr DropPlace kBefore = DropPlace::Before;
    constexpr DropPlace kAfter = DropPlace::After;
    const Case cases[] = {
        // Neighbours swap when the dragged one goes to the far side of the other.
        {"AB", 1, 0, kAfter, "BA", true},
        {"AB", 0, 1, kBefore, "BA", true},
        // Dropped on the near side of a neighbour, nothing changes.
        {"AB", 1, 0, kBefore, "AB", false},
        {"AB", 0, 1, kAfter, "AB", false},
        // Further apart only the dragged node moves: A onto the far side of B in A, X, B.
        {"AXB", 2, 0, kAfter, "XBA", true},
        {"AXB", 2, 0, kBefore, "XAB", true},
        {"AXB", 0, 2, kBefore, "BAX", true},
        {"ABCD", 1, 3, kAfter, "ABDC", true},
        // A node dropped on itself stays.
        {"AXB", 1, 1, kAfter, "AXB", false},
    };
    for (const Case& c : cases) {
        auto list = List(c.before);
        const Named* target = list[c.target].get();
        const Named* dragged = list[c.dragged].get();
        EXPECT_EQ(MoveNextTo(list, target, dragged, c.place), c.moved) << c.before;
        EXPECT_EQ(Order(list), c.after) << c.before << " " << c.target << "<-" << c.dragged;
    }
    auto list = List("AB");
    const Named stranger;
    EXPECT_FALSE(MoveNextTo(list, &stranger, list[0].get(), kAfter));
    EXPECT_FALSE(MoveNextTo(list, list[0].get(), &stranger, kAfter));
    EXPECT_EQ(Order(list), "AB");
}

/// A linac with one photon energy of `name`.
std::unique_ptr<TLinacSpec> Linac(const std::string& name) {
    auto linac = std::make_unique<TLinacSpec>();
    linac->Name = name;
    auto energy = std::make_unique<TgEnergy>();
    energy->Name = "6MV";
    energy->Buildup = 1.5;
    energy->SCD = 100;
    linac->gEnergies.push_back(std::move(energy));
    return linac;
}

TTreatment& AddTreatment(Workbench& workbench, Patient& patient, const TLinacSpec& linac) {
    auto treatment = std::make_unique<TTreatment>();
    treatment->linac = &linac;
    treatment->gEnergy = linac.gEnergies[0].get();
    return workbench.AddTreatment(patient, std::move(treatment));
}

TBeam& AddBeam(TTreatment& treatment, double dose) {
    std::unique_ptr<TBeam> beam = treatment.CreateBeam("New Beam");
    beam->dose = dose;
    return treatment.AddBeam(std::move(beam));
}

TEST(Workbench, DoseTotalFollowsEveryAddEditAndDelete) {
    const auto linac = Linac("L1");
    Workbench workbench;
    TTreatment& treatment = AddTreatment(workbench, workbench.AddPatient(), *linac);
    EXPECT_EQ(treatment.DoseLine(), "Dose = 0 cGy");
    TBeam& first = AddBeam(treatment, 100);
    TBeam& second = AddBeam(treatment, 150);
    EXPECT_EQ(treatment.DoseTotal(), 250);
    // Editing one of two beams from 100 to 150 cGy: 150 + 150.
    first.dose = 150;
    EXPECT_EQ(treatment.DoseLine(), "Dose = 300 cGy");
    // Deleting a beam lowers the total by that beam's dose.
    EXPECT_TRUE(workbench.DeleteBeam(&second));
    EXPECT_EQ(treatment.DoseLine(), "Dose = 150 cGy");
    EXPECT_FALSE(workbench.DeleteBeam(&second));
}

TEST(Workbench, InformationLinesOfANewTreatment) {
    const auto linac = Linac("Sala A");
    Workbench workbench;
    TTreatment& treatment = AddTreatment(workbench, workbench.AddPatient(), *linac);
    const std::vector<std::string> expected = {"Machine = Sala A", "Energy = 6MV",
                                               "Buildup = 1.5 cm", "SCD = 100 cm",
                                               "SAD = 100 cm",     "Dose = 0 cGy"};
    EXPECT_EQ(treatment.InformationLines(), expected);
}

TEST(Workbench, NodesMoveOnlyAmongTheirOwnSiblings) {
    const auto linac = Linac("L1");
    Workbench workbench;
    Patient& first = workbench.AddPatient();
    Patient& second = workbench.AddPatient();
    TTreatment& a = AddTreatment(workbench, first, *linac);
    TTreatment& b = AddTreatment(workbench, first, *linac);
    TTreatment& other = AddTreatment(workbench, second, *linac);
    // A treatment of another patient is never a drop target.
    EXPECT_FALSE(workbench.DropTreatment(&other, &a, DropPlace::After));
    EXPECT_EQ(first.treatments[0].get(), &a);
    // Dragging a beam below the next beam of the same treatment swaps them.
    TBeam& beam1 = AddBeam(a, 100);
    TBeam& beam2 = AddBeam(a, 50);
    TBeam& foreign = AddBeam(b, 10);
    EXPECT_TRUE(workbench.DropBeam(&beam2, &beam1, DropPlace::After));
    EXPECT_EQ(a.beams[0].get(), &beam2);
    EXPECT_EQ(a.beams[1].get(), &beam1);
    EXPECT_FALSE(workbench.DropBeam(&foreign, &beam1, DropPlace::Before));
    EXPECT_TRUE(workbench.DropTreatment(&b, &a, DropPlace::After));
    EXPECT_EQ(first.treatments[0].get(), &b);
    EXPECT_EQ(workbench.TreatmentOf(&beam1), &a);
    EXPECT_EQ(workbench.PatientOf(&other), &second);
}

TEST(Workbench, DeletingAPatientDiscardsItsTreatments) {
    const auto linac = Linac("L1");
    Workbench workbench;
    Patient& patient = workbench.AddPatient();
    EXPECT_EQ(patient.name, "New Patient");
    TTreatment& treatment = AddTreatment(workbench, patient, *linac);
    EXPECT_EQ(treatment.name, "New Treatment");
    EXPECT_TRUE(workbench.DeletePatient(&patient));
    EXPECT_TRUE(workbench.patients().empty());
    EXPECT_FALSE(workbench.DeletePatient(&patient));
}

/// A photon energy with the open/wedged and TBI capabilities given.
std::unique_ptr<TgEnergy> Photon(const std::string& name, bool openWedged, bool tbi) {
    auto energy = std::make_unique<TgEnergy>();
    energy->Name = name;
    energy->OpenWedgeMUSupported = openWedged;
    energy->TBISupported = tbi;
    return energy;
}

std::vector<std::string> KindTexts(const TreatmentChoice& choice) {
    std::vector<std::string> texts;
    for (BeamKind kind : choice.KindItems()) {
        texts.push_back(BeamKindText(kind));
    }
    return texts;
}

TEST(TreatmentChoice, OffersTheKindsTheEnergiesSupportInCodeOrder) {
    TLinacSpec linac;
    linac.gEnergies.push_back(Photon("Full", true, true));
    linac.gEnergies.push_back(Photon("TbiOnly", false, true));
    linac.gEnergies.push_back(Photon("Plain", false, false));
    linac.eEnergies.push_back(std::make_unique<TeEnergy>());
    TreatmentChoice choice({&linac});
    EXPECT_EQ(KindTexts(choice),
              (std::vector<std::string>{"Photon Beam", "Photon Open/Wedged Beam", "Electron Beam",
                                        "Total Body Irradiation"}));
    // With TBI selected, an energy without open/wedged but with TBI keeps TBI, now at 2.
    choice.BeamKindClick(3);
    choice.gEnergyChange(1);
    EXPECT_EQ(choice.kindIndex(), 2);
    EXPECT_EQ(choice.KindItems()[2], BeamKind::TotalBody);
    EXPECT_EQ(choice.energy(), linac.gEnergies[1].get());
    // An energy without TBI falls back to item 0.
    choice.gEnergyChange(2);
    EXPECT_EQ(choice.kindIndex(), 0);
    // Electrons take the electron energy.
    choice.BeamKindClick(1);
    EXPECT_EQ(choice.energy(), linac.eEnergies[0].get());
    const auto treatment = choice.MakeTreatment("T");
    EXPECT_EQ(treatment->kind, BeamKind::Electron);
    EXPECT_EQ(treatment->eEnergy, linac.eEnergies[0].get());
    const auto beam = treatment->CreateBeam("B");
    EXPECT_EQ(beam->Kind(), BeamKind::Electron);
    EXPECT_EQ(beam->machine.eEnergy, linac.eEnergies[0].get());
}

TEST(TreatmentChoice, KeepsTheKindWhereItStillStands) {
    TLinacSpec linac;
    linac.gEnergies.push_back(Photon("Full", true, true));
    linac.gEnergies.push_back(Photon("NoOw", false, true));
    TreatmentChoice choice({&linac});
    // Open/wedged selected, then an energy without it: back to item 0.
    choice.BeamKindClick(1);
    choice.gEnergyChange(1);
    EXPECT_EQ(choice.kindIndex(), 0);
    // TBI with neither open/wedged nor electrons offered stands at 1.
    choice.BeamKindClick(1);
    choice.gEnergyChange(0);
    EXPECT_EQ(choice.KindItems()[static_cast<std::size_t>(choice.kindIndex())],
              BeamKind::TotalBody);
    choice.gEnergyChange(1);
    EXPECT_EQ(choice.kindIndex(), 1);
}

TEST(TreatmentChoice, ChoosingTheSameLinacAgainChangesNothing) {
    TLinacSpec first;
    first.Name = "Same";
    first.gEnergies.push_back(Photon("A", false, false));
    first.gEnergies.push_back(Photon("B", false, false));
    TLinacSpec second;
    second.Name = "Same";
    TreatmentChoice choice({&first, &second});
    EXPECT_EQ(choice.LinacItems(), (std::vector<std::string>{"Same", "Same"}));
    choice.gEnergyChange(1);
    choice.LINACChange(0);
    EXPECT_EQ(choice.gEnergyIndex(), 1);
    // The second linac of the same name is told apart by its position; it has no energy.
    choice.LINACChange(1);
    EXPECT_EQ(choice.linac(), &second);
    EXPECT_EQ(choice.gEnergyItems(), std::vector<std::string>{"None"});
    EXPECT_TRUE(choice.KindItems().empty());
    EXPECT_FALSE(choice.CanAccept());
    EXPECT_EQ(choice.MakeTreatment("T"), nullptr);
}

TEST(TreatmentChoice, WithoutLinacsOnlyNoneIsOfferedAndOkIsRefused) {
    const TreatmentChoice choice({});
    EXPECT_EQ(choice.LinacItems(), std::vector<std::string>{"None"});
    EXPECT_EQ(choice.gEnergyItems(), std::vector<std::string>{"None"});
    EXPECT_EQ(choice.eEnergyItems(), std::vector<std::string>{"None"});
    const Status status = choice.CanAccept();
    EXPECT_FALSE(status);
    EXPECT_NE(status.reason().find("linac"), std::string::npos);
}

} // namespace
} // namespace kova
