"""The chaos client's rules for the program's answers, without a program: what counts as
consent, which of two records with one ID an answer concerns, forced runs and quiet mode,
snoozes, and when memory counts as growing."""

import chaos
import chaosmodel
import qvxsim
from chaosmodel import Model, Record

NOW = 1_000_000.0


def taken(identifier, cancel=False):
    return qvxsim.ActionTaken(cancel, False, identifier, "ClientUI")


def model_with(*records):
    model = Model()
    for record in records:
        model.arrive(record, NOW - 10)
    return model


def test_a_take_needing_consent_follows_ok_on_a_confirmation_showing_its_message():
    needing = Record(1, 7, "Upgrade", pam="Save your files.")
    model = model_with(needing)
    model.ask(needing, "take", NOW, settled=True)
    assert "without the user accepting" in model.answer(taken(7), NOW + 1)[0]
    model.confirm("Another message.", NOW + 2, take_all=False)
    assert model.answer(taken(7), NOW + 3) != []
    model.confirm("Save your files.", NOW + 4, take_all=False)
    assert model.answer(taken(7), NOW + 5) == []
    assert model.pending == [] and model.overdue(NOW + 60) == []


def test_of_two_records_with_one_id_the_selected_one_needing_consent_is_not_taken_for_the_first():
    plain, needing = Record(1, 5, "First"), Record(2, 5, "Second", pam="Confirm.")
    model = model_with(plain, needing)
    model.ask(needing, "take", NOW, settled=True)
    assert "without the user accepting the confirmation 'Confirm.'" in \
        model.answer(taken(5), NOW + 1)[0]
    # The client's removal takes the first record with the ID.
    assert model.remove(5, NOW + 2) is plain and model.pending == [needing]


def test_a_take_asked_for_one_of_two_twins_takes_that_one():
    first, forced = Record(1, 9, "First"), Record(2, 9, "Forced", deadline=NOW + 5, forced=True)
    model = model_with(first, forced)
    model.ask(forced, "take", NOW, settled=True)
    assert model.answer(taken(9), NOW + 1) == []
    assert model.pending == [first] and model.overdue(NOW + 60) == []
    # Nothing forced is left: another answer for 9 was never asked for.
    assert model.answer(taken(9), NOW + 6) != []


def test_a_confirmed_twin_is_the_one_taken_whatever_else_may_be():
    plain, needing = Record(1, 4, "Plain"), Record(2, 4, "Needing", pam="Confirm.")
    model = model_with(plain, needing)
    model.ask_take_all(NOW, settled=False)
    model.ask(needing, "take", NOW, settled=True)
    model.confirm("Confirm.", NOW + 1, take_all=False)
    assert model.answer(taken(4), NOW + 2) == []
    assert model.pending == [plain] and model.overdue(NOW + 60) == []


def test_a_twin_asked_for_in_a_settled_dialog_is_the_one_a_take_answers():
    # Take on the second twin, then a click on Take All that may or may not have landed:
    # the answer is the awaited take, not the take-all's first record.
    first, second = Record(1, 21, "R192"), Record(2, 21, "R204")
    model = model_with(first, second)
    model.ask(second, "take", NOW, settled=True)
    model.ask_take_all(NOW + 0.25, settled=False)
    assert model.answer(taken(21), NOW + 1) == []
    assert model.pending == [first] and model.overdue(NOW + 60) == []


def test_a_confirmation_refused_ends_the_take_it_asked_consent_for():
    # Take alone, Cancel on its confirmation, then a take-all whose click may not have landed
    # shows that confirmation again: its OK moves the sequence on and owes no answer at once.
    asked, other = Record(1, 14, "R1032", pam="Confirm R1032"), Record(2, 30, "R1092", pam="Go?")
    model = model_with(asked, other)
    model.ask(asked, "take", NOW, settled=True)
    model.refuse("Confirm R1032")
    model.ask_take_all(NOW + 5, settled=False)
    model.confirm("Confirm R1032", NOW + 7, take_all=False)
    assert model.overdue(NOW + 60) == []
    # The consent given still allows the take when the sequence ends.
    assert model.answer(taken(14), NOW + 9) == []


def test_a_take_asked_for_comes_before_a_twin_confirmed_in_a_take_all_of_uncertain_aim():
    # A Take All click that may have missed, an OK on a twin's confirmation, the sequence
    # refused at a later confirmation; then the user takes the other twin in a settled dialog.
    confirmed, asked = Record(1, 16, "R1027", pam="Confirm R1027"), Record(2, 16, "R1124")
    model = model_with(confirmed, asked)
    model.ask_take_all(NOW, settled=False)
    model.confirm("Confirm R1027", NOW + 3, take_all=False)
    model.ask(asked, "take", NOW + 20, settled=True)
    assert model.answer(taken(16), NOW + 21) == []
    assert model.pending == [confirmed] and model.overdue(NOW + 60) == []


def test_a_cancel_answers_the_twin_cancelled_in_a_settled_dialog():
    # A cancel clicked on the disabled dialog may mean any record for a while; the next one,
    # made in a settled dialog on the newer twin, is the one the program's cancel answers.
    older, newer = Record(1, 42, "R1023"), Record(2, 42, "R1035")
    model = model_with(older, newer)
    model.ask(older, "cancel", NOW, settled=False)
    model.ask(newer, "cancel", NOW + 2, settled=True)
    assert model.answer(taken(42, cancel=True), NOW + 2.1) == []
    assert model.pending == [older] and model.overdue(NOW + 60) == []


def test_a_forced_twin_coming_due_is_the_one_its_take_answers():
    # A take-all click of uncertain aim lets R2099 be taken; the forced twin falls due at the
    # same time and is what the program took. A minute later the user takes R2099 itself.
    plain = Record(1, 45, "R2099")
    forced = Record(2, 45, "R2114", deadline=NOW, forced=True)
    model = model_with(plain, forced)
    model.ask_take_all(NOW - 1, settled=False)
    assert model.answer(taken(45), NOW + 1) == []
    assert model.pending == [plain]
    model.ask(plain, "take", NOW + 70, settled=True)
    assert model.answer(taken(45), NOW + 71) == []
    assert model.pending == [] and model.overdue(NOW + 90) == []


def test_two_takes_of_twins_both_asked_for_are_accepted_in_either_order():
    # The wire names the ID only: the model may give the first take to the wrong twin, and the
    # second take, for the twin whose wish has meanwhile lapsed, is still one that was allowed.
    first, second = Record(1, 21, "R3328"), Record(2, 21, "R3329")
    model = model_with(first, second)
    model.ask(first, "take", NOW, settled=False)
    model.ask(second, "take", NOW + 1, settled=True)
    assert model.answer(taken(21), NOW + 2) == []
    assert model.answer(taken(21), NOW + 20) == []
    assert model.pending == [] and model.overdue(NOW + 60) == []
    # A third take of the ID is one too many.
    assert model.answer(taken(21), NOW + 21) != []


def test_forced_runs_wait_for_the_end_of_quiet_mode():
    forced = Record(1, 3, "Forced", pam="Never shown.", deadline=NOW, forced=True)
    model = model_with(forced)
    model.set_quiet(True, NOW - 5)
    assert model.answer(taken(3), NOW + 1) != []
    model.set_quiet(False, NOW + 2)
    assert model.answer(taken(3), NOW + 3) == []


def test_an_answer_is_given_once_and_only_for_what_is_pending():
    record = Record(1, 4, "Once")
    model = model_with(record)
    model.ask(record, "cancel", NOW, settled=True)
    assert model.answer(taken(4, cancel=True), NOW + 1) == []
    assert "not pending" in model.answer(taken(4, cancel=True), NOW + 2)[0]
    assert "not pending" in model.answer(taken(8), NOW + 3)[0]


def test_a_removal_may_trail_an_answer_the_program_already_decided():
    record = Record(1, 6, "Raced")
    model = model_with(record)
    model.ask(record, "take", NOW, settled=True)
    model.remove(6, NOW + 0.5)
    assert model.answer(taken(6), NOW + 1) == []
    assert model.overdue(NOW + 60) == []


def test_what_was_asked_in_a_settled_dialog_must_be_answered():
    record = Record(1, 2, "Forgotten")
    model = model_with(record)
    model.ask(record, "take", NOW, settled=True)
    assert model.overdue(NOW + 1) == []
    assert "no answer" in model.overdue(NOW + chaosmodel.ANSWER_WITHIN + 1)[0]


def test_take_all_needs_consent_for_each_record_that_asks_for_it():
    plain, needing = Record(1, 1, "Plain"), Record(2, 2, "Needing", pam="Sure?")
    model = model_with(plain, needing)
    model.ask_take_all(NOW, settled=True)
    assert model.answer(taken(1), NOW + 1) == []
    assert model.answer(taken(2), NOW + 1) != []
    model.confirm("Sure?", NOW + 2, take_all=True)
    assert model.answer(taken(2), NOW + 3) == []


def test_a_snooze_follows_a_click_on_snooze_with_the_clicked_choice():
    model = model_with(Record(1, 1, "Later"))
    remind_time = qvxsim.RemindTime(None, None)
    assert "without a click" in model.answer(remind_time, NOW)[0]
    model.ask_snooze(NOW, settled=True)
    model.choose_snooze(120)
    assert model.answer(remind_time, NOW + 1) == []
    interval = qvxsim.RemindInterval(60 * 60 * 1000000, None)
    assert "the user chose 7200 s" in model.answer(interval, NOW + 1)[0]


def test_memory_counts_as_growing_only_after_the_warm_up():
    flat = [(t, 9000 + (500 if t < 60 else 0), 4) for t in range(0, 900, 5)]
    growth, span, descriptors = chaos.resource_growth(flat)
    assert growth == 0 and span > 600 and descriptors == 0
    leaking = [(t, 9000 + t, 4 + t // 400) for t in range(0, 900, 5)]
    growth, _, descriptors = chaos.resource_growth(leaking)
    assert growth > chaos.GROWTH_LIMIT and descriptors == 2
    # One large frame late in the session: a peak the program gives back.
    peak = [(t, 9000 + (3000 if 800 <= t < 830 else 0), 4) for t in range(0, 900, 5)]
    assert chaos.resource_growth(peak)[0] == 0
