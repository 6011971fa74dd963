// Reading mail-header date-times: the accepted forms and what they give, each failure class,
// lexemes cut between calls, and the tables shared by threads reading at once.
#include "text/time/TimeParser.h"

#include "text/time/ParsingErrors.h"
#include "text/time/TimeAutomaton.h"
#include "text/time/TimeErrors.h"
#include "text/time/TimeLexer.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace {

ZonedDateTime Parse(const std::string& text) {
  return ParseZonedDateTime(text.data(), text.data() + text.size());
}

ZonedDateTime Zoned(Date date, TimeOfDay time, std::int64_t offsetSeconds) {
  return ZonedDateTime{date, time, offsetSeconds, offsetSeconds * 1000000};
}

// The e2e cross-check compares the common forms with another parser; here what it leaves out.
TEST(TimeParsing, AcceptedForms) {
  struct Row {
    const char* text;
    ZonedDateTime time;
  } const rows[] = {
      {"5 mar 24 07:08 GMT", Zoned({5, 3, 1924}, {7, 8, 0}, 0)},
      {"05 Mar 2024 07:08 -0000", Zoned({5, 3, 2024}, {7, 8, 0}, 0)},
      {"05 Mar 2024 07:08 +9999", Zoned({5, 3, 2024}, {7, 8, 0}, (99 * 60 + 99) * 60)},
      {"tUe,05mAr2024 07:08:09pDt", Zoned({5, 3, 2024}, {7, 8, 9}, -25200)},
      {" \t\r\n05\nMar\t2024  07 : 08 : 09\r\n+ 0100 \n", Zoned({5, 3, 2024}, {7, 8, 9}, 3600)},
      {"1 Jan 00 00:00 pst", Zoned({1, 1, 1900}, {0, 0, 0}, -28800)},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(Parse(row.text), row.time);
  }
}

// The class of the exception the text is rejected with, or "" when it is read.
std::string RejectionOf(const std::string& text) {
  try {
    static_cast<void>(Parse(text));
  } catch (const NoSuchDate&) {
    return "NoSuchDate";
  } catch (const NoSuchTimeOfDay&) {
    return "NoSuchTimeOfDay";
  } catch (const WrongDayOfWeek&) {
    return "WrongDayOfWeek";
  } catch (const NoTimeZone&) {
    return "NoTimeZone";
  } catch (const InvalidTime&) {
    return "InvalidTime";
  } catch (const ParsingFailure&) {
    return "ParsingFailure";
  }
  return "";
}

TEST(TimeParsing, RejectedFormsAndTheirFailures) {
  const struct {
    const char* failure;
    std::vector<const char*> texts;
  } rows[] = {
      {"ParsingFailure",
       {"", "Tue 05 Mar 2024 07:08:09 +0100", "Tue,, 05 Mar 2024 07:08:09 +0100",
        "05 Mar 2024 7:08 +0000", "05 Mar 2024 07:8 +0000", "05 March 2024 07:08 +0000",
        "05 Mar 2 07:08 +0000", "005 Mar 2024 07:08 +0000", "05 Mar 02024 07:08 +0000",
        "05 Mar 2024 07:08 +100", "05 Mar 2024 07:08 +0100 GMT", "05 Mar 2024 07:08 j",
        "05 Mar 2024 07:08 UTC", "05 Mar 2024 07:08:09:10 +0000", "05 Mar 2024 07:08 +0000\x01",
        "05 Mar 2024 07:08 \xC3\xA9", "Mar 05 2024 07:08 +0000", "05 Mar 2024",
        "05 Mar 2024 07:08 +"}},
      {"NoSuchDate", {"31 Feb 2024 07:08 +0000", "0 Jan 2024 07:08 +0000"}},
      {"NoSuchTimeOfDay", {"05 Mar 2024 24:00 +0000", "05 Mar 2024 23:60 +0000"}},
      {"WrongDayOfWeek", {"Mon, 05 Mar 2024 07:08:09 +0100"}},
      {"NoTimeZone", {"05 Mar 2024 07:08"}},
      // The checks come in order: date, time of day, day of week, zone.
      {"NoSuchDate", {"Mon, 31 Feb 2024 99:99"}},
      {"NoSuchTimeOfDay", {"Mon, 05 Mar 2024 99:99"}},
      {"WrongDayOfWeek", {"Mon, 05 Mar 2024 07:08"}},
  };
  for (const auto& row : rows) {
    for (const char* text : row.texts) EXPECT_EQ(RejectionOf(text), row.failure) << text;
  }
}

// Feeds the text to a lexer in pieces of `pieceLength` bytes.
ZonedDateTime ParseInPieces(const std::string& text, std::size_t pieceLength) {
  TimeParser parser;
  TimeLexer lexer(parser);
  lexer.StartData(0);
  for (std::size_t start = 0; start < text.size(); start += pieceLength) {
    const std::size_t length = std::min(pieceLength, text.size() - start);
    lexer.Receive(text.data() + start, text.data() + start + length);
  }
  lexer.EndData();
  return parser.Result();
}

TEST(TimeParsing, LexemesSplitBetweenCallsReadAsWhole) {
  const std::string text = "Tue, 05 Mar 2024 07:08:09 +0100";
  for (std::size_t piece = 1; piece <= text.size(); ++piece)
    EXPECT_EQ(ParseInPieces(text, piece), Zoned({5, 3, 2024}, {7, 8, 9}, 3600)) << piece;
  // Split words and numerals must not be taken for two short ones.
  EXPECT_THROW(static_cast<void>(ParseInPieces("05 Mar 02024 07:08 +0000", 9)), ParsingFailure);
  EXPECT_THROW(static_cast<void>(ParseInPieces("05 Marc 2024 07:08 +0000", 5)), ParsingFailure);
}

TEST(TimeParsing, ThreadsReadingAtOnceShareTheTables) {
  // Whichever thread comes first builds the tables; run alone, this test is that first use.
  std::vector<ZonedDateTime> results(4);
  std::vector<std::thread> threads;
  for (ZonedDateTime& result : results)
    threads.emplace_back([&result] { result = Parse("Tue, 05 Mar 2024 07:08:09 +0100"); });
  for (std::thread& thread : threads) thread.join();
  for (const ZonedDateTime& result : results)
    EXPECT_EQ(result, Zoned({5, 3, 2024}, {7, 8, 9}, 3600));
}

TEST(TimeParsing, BlanksSplitLexemesInEveryPieceSize) {
  struct Row {
    const char* text;
    const char* failure;  // "" when read
  } const rows[] = {
      {" \t05 Mar 2024 07:08 +0100 \r\n", ""},
      {"Tue,05 Mar 2024   07:08:09   GMT", ""},
      {"05 Mar 2024 07:08 +01 00", "ParsingFailure"},
      {"05 Ma r 2024 07:08 +0100", "ParsingFailure"},
      {"05 Mar 20 24 07:08 +0100", "ParsingFailure"},
      {"   ", "ParsingFailure"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    const std::string text = row.text;
    EXPECT_EQ(RejectionOf(text), row.failure);
    for (std::size_t piece = 1; piece <= text.size(); ++piece) {
      SCOPED_TRACE(piece);
      if (*row.failure == '\0') {
        EXPECT_EQ(ParseInPieces(text, piece), Parse(text));
      } else {
        EXPECT_THROW(static_cast<void>(ParseInPieces(text, piece)), ParsingFailure);
      }
    }
  }
}

// Records the reserved word that a text of one word is read as.
class WordRecorder : public TimeLexemeAcceptor {
 public:
  void AcceptReservedWord(const ReservedWordLexeme<TimeParsingAction>& lexeme) override {
    word = lexeme.word;
  }
  void AcceptNumeral(const TimeNumeralLexeme&) override {}
  void AcceptCharacter(const CharacterLexeme&) override {}
  void AcceptEnd(const EndLexeme&) override {}

  const ReservedWord<TimeParsingAction>* word = nullptr;
};

const ReservedWord<TimeParsingAction>* WordOf(const std::string& text) {
  WordRecorder recorder;
  TimeLexer lexer(recorder);
  lexer.StartData(0);
  lexer.Receive(text.data(), text.data() + text.size());
  lexer.EndData();
  return recorder.word;
}

TEST(TimeLexing, EveryReservedWordIsFoundInAnyCase) {
  const TimeReservedWordTable table = TimeReservedWords();
  for (const ReservedWord<TimeParsingAction>* word = table.begin; word != table.end; ++word) {
    SCOPED_TRACE(word->name);
    std::string upper = word->name;
    for (char& letter : upper) letter = static_cast<char>(letter - 'a' + 'A');
    EXPECT_EQ(WordOf(word->name), word);
    EXPECT_EQ(WordOf(upper), word);
  }
}

TEST(TimeLexing, LettersThatAreNoReservedWordFail) {
  // Prefixes and extensions of words, neighbours in the table's order, and the ends of the
  // alphabet.
  for (const char* text :
       {"ja", "janu", "ap", "aq", "apra", "ab", "gm", "utc", "zz", "Aa", "mam"}) {
    SCOPED_TRACE(text);
    EXPECT_THROW(static_cast<void>(WordOf(text)), ParsingFailure);
  }
}

TEST(TimeLexing, PositionsBeyond32BitsThrow) {
  TimeParser parser;
  TimeLexer lexer(parser);
  EXPECT_THROW(lexer.StartData(std::uint64_t{1} << 32), RequiredValueWouldOverflow);

  const std::string text = "05 Mar 2024 07:08 +0100";
  lexer.StartData(0xFFFFFFFFu - text.size());
  lexer.Receive(text.data(), text.data() + text.size());
  lexer.EndData();
  EXPECT_EQ(parser.Result().offsetSeconds, 3600);

  parser.Reset();
  lexer.StartData(0xFFFFFFFFu - text.size() + 1);
  EXPECT_THROW(lexer.Receive(text.data(), text.data() + text.size()), RequiredValueWouldOverflow);
}

// The e2e cross-check reads every zone, month and day name in mixed case against another
// parser; here the table's order and the military letters, which it leaves out.
TEST(TimeLexing, ReservedWordTableIsSortedAndMilitaryLettersSetNoZone) {
  const TimeReservedWordTable table = TimeReservedWords();
  ASSERT_EQ(table.end - table.begin, 54);
  for (const ReservedWord<TimeParsingAction>* word = table.begin; word != table.end; ++word) {
    SCOPED_TRACE(word->name);
    if (word != table.begin) {
      EXPECT_LT(std::string(word[-1].name), std::string(word->name));
    }
    EXPECT_LE(std::strlen(word->name), TimeLexer::kMaxWordBytes);
    if (word->action == TimeParsingAction::kMilitaryZone) {
      EXPECT_THROW(static_cast<void>(Parse(std::string("05 Mar 2024 07:08 ") + word->name)),
                   NoTimeZone);
    }
  }
}

TEST(TimeAutomatonValues, SeventhValueOverflowsTheStack) {
  TimeAutomaton automaton;
  automaton.Reset();
  for (std::int32_t value = 0; value < 6; ++value) automaton.Push(value);
  EXPECT_THROW(automaton.Push(6), StackFull);
  automaton.Reset();
  EXPECT_EQ(automaton.StackDepth(), 0u);
  EXPECT_THROW(automaton.MakeDate(), ParsingFailure);
}

}  // namespace
