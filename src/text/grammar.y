/* The grammar of parameter files. The generated engine is kept in the tree as
 * grammar_tables.inc (target regenerate_grammar), so a build needs no parser
 * generator.
 *
 * The engine reduces by a state's default reduction on any look-ahead it
 * cannot shift, and reduces without reading a look-ahead in states that have
 * nothing else to do. That decides when the lexer runs, so where an error is
 * recorded and which actions run before a syntax error is found. */
%define api.pure full
%define api.prefix {zemyy}
%parse-param {zem::CzemParser* parser}
%lex-param {zem::CzemParser* parser}

%code requires {
#include "model/named_nodes.hpp"
#include "text/zem_parser.hpp"
}

%code {
/* One more than the parse stack limit: this engine declares exhaustion when
 * the stack is full, not when a state would be pushed onto a full stack. The
 * stack then never grows, so it stays in the engine's frame. */
#define YYINITDEPTH (zem::kParseStackLimit + 1)
#define YYMAXDEPTH (zem::kParseStackLimit + 1)

static int zemyylex(ZEMYYSTYPE* value, zem::CzemParser* parser) { return zem::lexToken(parser, &value->text); }
static void zemyyerror(zem::CzemParser* parser, const char* message);
}

%union {
  zem::TokenText text;
  zem::CzemNode* node;
  zem::CzemTargetList* list;
  zem::CzemSection* section;
  zem::CzemKeyword* keyword;
  zem::CzemDefaultDef* definition;
}

%token <text> INTEGER 257 REAL 258 BOOLEAN 259 STRING 260 IDENT 261 BRACED 262
%token <text> ENDSECT 263 DEFAULT 264 DATETIME 265 FILENAME 266
/* Punctuation carries only its place in the file. */
%token <text> '[' ']' '=' ',' '('

%type <list> section_list
%type <section> section section_body section_head section_opener
%type <keyword> keyword_line keyword_head keyword_name
%type <definition> default_line default_head default_name
%type <node> value literal
%type <text> template_name integer real substitution empty_parens

%%

file
  : section_list                          { parser->acceptRoot($1); }
  ;
section_list
  : %empty                                { $$ = parser->newTargetList(); }
  | section_list section                  { parser->appendSection($1, $2); $$ = $1; }
  ;
section
  : section_body ENDSECT                  { parser->endSection($1, $2); $$ = $1; }
  ;
section_body
  : section_head                          { $$ = $1; }
  | section_body keyword_line             { parser->appendKeyword($1, $2); $$ = $1; }
  | section_body section                  { parser->appendSection($1, $2); $$ = $1; }
  | section_body default_line             { parser->appendDefaultDef($1, $2); $$ = $1; }
  ;
section_head
  : section_opener                        { $$ = $1; }
  | section_opener BRACED                 { parser->setAuxText($1, $2); $$ = $1; }
  ;
section_opener
  : '[' IDENT ']'                         { $$ = parser->newSection($1, $2, 0); }
  | '[' template_name ']'                 { $$ = parser->newSection($1, $2, zem::kMayRepeat); }
  ;
keyword_line
  : keyword_head '='                      { parser->appendUndefined($1); $$ = $1; }
  | keyword_head '=' value                { parser->appendValue($1, $3); $$ = $1; }
  | keyword_line ',' value                { parser->appendValue($1, $3); $$ = $1; }
  | keyword_line ','                      { parser->appendUndefined($1); $$ = $1; }
  ;
keyword_head
  : keyword_name                          { $$ = $1; }
  | keyword_name BRACED                   { parser->setAuxText($1, $2); $$ = $1; }
  ;
keyword_name
  : IDENT                                 { $$ = parser->newKeyword($1, $1.view(), 0); }
  | template_name                         { $$ = parser->newKeyword($1, $1.view(), zem::kMayRepeat); }
  | empty_parens                          { parser->templateMarkerCheck(); $$ = parser->newKeyword($1, "", zem::kMayRepeat); }
  ;
default_line
  : default_head '='                      { parser->appendDefaultPar($1); $$ = $1; }
  | default_head '=' value                { parser->appendValue($1, $3); $$ = $1; }
  | default_line ','                      { parser->appendDefaultPar($1); $$ = $1; }
  | default_line ',' value                { parser->appendValue($1, $3); $$ = $1; }
  ;
default_head
  : default_name                          { $$ = $1; }
  | default_name BRACED                   { parser->setAuxText($1, $2); $$ = $1; }
  ;
default_name
  : DEFAULT '(' IDENT ')'                 { $$ = parser->newDefaultDef($1, $3.view(), 0); }
  | DEFAULT empty_parens                  { $$ = parser->newDefaultDef($1, "", zem::kMayRepeat); }
  ;
empty_parens
  : '(' ')'                               { $$ = $1; }
  ;
template_name
  : IDENT empty_parens                    { parser->templateMarkerCheck(); $$ = $1; }
  ;
value
  : literal                               { $$ = $1; }
  | literal BRACED                        { parser->setAuxText($1, $2); $$ = $1; }
  | BRACED                                { $$ = parser->newUnknown($1); }
  ;
literal
  : integer                               { $$ = parser->newInt($1); }
  | BOOLEAN                               { $$ = parser->newBool($1); }
  | real                                  { $$ = parser->newReal($1); }
  | STRING                                { $$ = parser->newStringOrClob($1); }
  | DATETIME                              { $$ = parser->newDateTime($1); }
  | FILENAME                              { $$ = parser->newFilename($1); }
  | substitution                          { $$ = parser->newSubstit($1); }
  ;
integer
  : INTEGER                               { $$ = $1; }
  | '+' INTEGER                           { $$ = zem::CzemParser::withSign('+', $2); }
  | '-' INTEGER                           { $$ = zem::CzemParser::withSign('-', $2); }
  ;
real
  : REAL                                  { $$ = $1; }
  | '+' REAL                              { $$ = zem::CzemParser::withSign('+', $2); }
  | '-' REAL                              { $$ = zem::CzemParser::withSign('-', $2); }
  ;
substitution
  : '%' INTEGER                           { $$ = $2; }
  | '%' IDENT                             { $$ = $2; }
  ;

%%

static void zemyyerror(zem::CzemParser* parser, const char* message) {
  // The engine's only other failure is a full stack.
  const bool stackFull = std::strcmp(message, "memory exhausted") == 0;
  parser->engineError(stackFull ? "yacc stack overflow" : message);
}

namespace zem {
int runGrammar(CzemParser* parser) { return zemyyparse(parser); }
}  // namespace zem
