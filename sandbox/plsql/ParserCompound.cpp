// The body of a compound trigger: COMPOUND TRIGGER, declarations shared by
// its timing sections, then each section as "timing IS block END timing;".
#include "sandbox/plsql/Parser.h"

namespace sandbox::plsql {

namespace {

struct TimingWords {
  TimingPoint point;
  std::initializer_list<const char*> words;
};

const TimingWords kTimingPoints[] = {
    {TimingPoint::BeforeStatement, {"BEFORE", "STATEMENT"}},
    {TimingPoint::BeforeEachRow, {"BEFORE", "EACH", "ROW"}},
    {TimingPoint::AfterEachRow, {"AFTER", "EACH", "ROW"}},
    {TimingPoint::AfterStatement, {"AFTER", "STATEMENT"}},
    {TimingPoint::InsteadOfEachRow, {"INSTEAD", "OF", "EACH", "ROW"}},
};

const TimingWords* FindTimingPoint(const std::vector<Token>& tokens, size_t at) {
  for (const TimingWords& timing : kTimingPoints) {
    size_t i = at;
    bool matches = true;
    for (const char* word : timing.words)
      matches = matches && i < tokens.size() && tokens[i++].Is(word);
    if (matches)
      return &timing;
  }
  return nullptr;
}

}  // namespace

bool Parser::StartsTimingPoint() const {
  return FindTimingPoint(tokens_, pos_) != nullptr;
}

std::unique_ptr<Block> Parser::ParseCompoundTrigger() {
  auto block = std::make_unique<Block>();
  PushScope();
  ParseDeclarations(*block);
  while (!Peek().Is("END")) {
    const Token& start = Peek();
    const TimingWords* timing = FindTimingPoint(tokens_, pos_);
    if (timing == nullptr)
      SyntaxError(start, "after before end instead");
    for (size_t i = 0; i < timing->words.size(); ++i)
      Take();
    Expect("IS", "is");
    if (block->sections.count(timing->point) != 0)
      SemanticError(start, "PLS-00676: duplicate Section", true);
    auto section = ParseBlockBody(true, "");
    section->line = start.line;
    // END BEFORE STATEMENT: the first word went as the END's name.
    const Token& first = tokens_[pos_ - 1];
    if (!first.Is(*timing->words.begin()))
      SyntaxError(first, *timing->words.begin());
    for (auto word = timing->words.begin() + 1; word != timing->words.end(); ++word)
      Expect(*word, *word);
    Expect(";", ";");
    block->sections[timing->point] = std::move(section);
  }
  Expect("END", "end");
  if (Peek().kind == Token::Kind::Identifier || Peek().kind == Token::Kind::QuotedIdentifier)
    Take();
  PopScope();
  return block;
}

}  // namespace sandbox::plsql
