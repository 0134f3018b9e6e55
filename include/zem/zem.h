/* zem: parameter files.
 *
 * A parameter file holds nested sections ("[Name] ... EndSect"), keywords
 * ("Name = v, v, ...") with typed values, default lines and template markers.
 * This header is the whole C interface of the library.
 *
 * Conventions
 * - Handles, nodes and CLOB values are opaque pointers (void*). A document
 *   handle comes from zemLoadFile or zemCreate and is released by zemClose;
 *   node pointers are valid until their handle is closed (or an edit deletes
 *   them).
 * - Numbers that select a child count from 1; 0 selects nothing.
 * - A failing call returns a fixed neutral result, stores its code in the
 *   global error code if none is pending (read it with zemGetErrorGlb or
 *   zemPeekErrorGlb) and reports a text through the vox library unless a quiet
 *   flag or the handle's silent flag suppresses it.
 * - Texts returned are owned by the library; callers never free them.
 * - Numbers are read and written with a decimal point whatever the process
 *   locale; written lines end with CR LF.
 * - Names of sections and keywords are what the reader reads as one: a letter,
 *   then letters, digits and underscores, but not true, false, EndSect or
 *   default in any case.
 *
 * Threads
 * - The library starts no threads and takes no locks. Each document (its
 *   handle, tree and nodes) and each token reader belongs to one thread at a
 *   time; different documents may be loaded, read, built, written and closed
 *   on different threads at once: a parse keeps its state in its own parser.
 * - Process-wide and unsynchronised, so shared by every thread: the global
 *   error code (every call that fails, zemGetErrorGlb, zemPeekErrorGlb,
 *   zemLoadFile and zemCreate, which clear it), the message buffer of
 *   zemGetErrorMessageFromErrorCode, the identity and build-version texts
 *   (zemGetDLLid, zemGetBuildVersion), the dump stream (zemDump), the quiet
 *   flag of the template check (zemEquivalentExt, zemEquivalent,
 *   zemIsEqvQuiet) and the report sink of the vox library. A program that
 *   uses documents from several threads reads the error code only as a hint,
 *   or serialises the calls whose code it reads.
 */
#ifndef ZEM_ZEM_H
#define ZEM_ZEM_H

#if defined(_WIN32)
#define ZEM_API __declspec(dllexport)
#elif defined(__GNUC__)
#define ZEM_API __attribute__((visibility("default")))
#else
#define ZEM_API
#endif

/* The classic path limit: every path output buffer of the result-folder calls holds this many bytes. */
#define ZEM_MAX_PATH 260

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Errors ------------------------------------------------------------- */

/* Returns the pending global error code (0 for none) and clears it. */
ZEM_API int zemGetErrorGlb(void);
/* Returns the pending global error code without clearing it. */
ZEM_API int zemPeekErrorGlb(void);
/* The fixed text of a code (1000..1014), else "unknown error code". Owned by the library; valid until the next call. */
ZEM_API const char* zemGetErrorMessageFromErrorCode(int code);
/* The handle's last building error text ("" if none). Owned by the handle; valid until the next building call or
 * zemClose. An invalid handle stores 1005 without a report and yields null. */
ZEM_API const char* zemGetErrorFromZemData(void* handle);

/* ---- Version and identity ----------------------------------------------- */

/* The build stamp "Mmm dd yyyy hh:mm:ss". Static text. */
ZEM_API const char* zemGetVersion(void);
/* The full path of the loaded library file, or "Unknown". Static text. */
ZEM_API const char* zemGetDLLid(void);
/* The host executable's file version; always "" on this platform. Static text. */
ZEM_API const char* zemGetBuildVersion(void);
/* Copy variants: 0 when copied with its zero byte, -1 when the text does not fit (length >= size),
 * for a null buffer or a size <= 0; nothing is written then. */
ZEM_API int zemGetVersion2(char* buffer, int size);
ZEM_API int zemGetDLLid2(char* buffer, int size);
ZEM_API int zemGetBuildVersion2(char* buffer, int size);

/* ---- Load, close, write --------------------------------------------------- */

/* Loads a parameter file. Returns a handle, or null with code 1001 (cannot open; report "Open error: <file>"),
 * 1002 or 1004. A syntax error still returns a handle, without a tree, with code 1003 and the report
 * "Error: <message>\n in <file> near line <l> position <p>". `quiet` non-zero suppresses the reports.
 * Clears any pending code first. The caller owns the handle: release it with zemClose. A file whose tree needs
 * more than a few MB of memory is loaded with the help of one thread of the library's own, which makes memory
 * ready ahead of the load and has ended when the call returns. */
ZEM_API void* zemLoadFile(const char* fileName, int quiet);
/* Destroys the handle and everything below it and sets *handle to null. An invalid handle (or a null
 * address) stores 1005, reports "Invalid zemHandle (CzemData)" and changes nothing. */
ZEM_API void zemClose(void** handle);
/* The anchor file name of the node's document (as loaded, written or set). Owned by the tree. */
ZEM_API const char* zemGetZemFileName(void* node);
/* The load's first error: message (returned and stored in *message), line and position. Owned by the
 * handle; "" and zeros for an invalid (non-load) handle, which stores 1005 and reports. Null
 * out-pointers are skipped. */
ZEM_API const char* zemGetSyntaxErr(void* handle, int* line, int* position, const char** message);
/* Load statistics of a load handle: characters, lines (newlines + 1), comments, token texts (0 after a
 * load). 0 for an invalid handle (1005, reported). */
ZEM_API int zemNoChars(void* handle);
ZEM_API int zemNoLines(void* handle);
ZEM_API int zemNoComments(void* handle);
ZEM_API int zemNoTokens(void* handle);
/* Writes the document to fileName (replacing it) / adds it at the end of fileName, with a header of its own,
 * CR LF line ends and file names relative to the written file, which becomes the anchor. Result-folder
 * settings go into the first top-level SYSTEM section (made when missing). An invalid handle stores 1005 and
 * reports "Invalid zemHandle (CzemData)"; a document without tree stores 1006 and reports "Invalid zemNode";
 * a file that cannot be opened or written completely stores 1001, reports "Open error: <file>", keeps the
 * anchor and is left as it was. zemWrite writes a temporary file in the target's folder and renames it over the
 * target once complete, so a failed write (full disk, size limit) leaves the stored file intact; the target keeps
 * its mode, a symbolic link is followed to the file it names (the link stays), a device or pipe is written in
 * place and a folder is refused. zemAppend appends in place and cuts a partial text off again. A value bound
 * to a variable (zemAdd...Ref) that is infinite or NaN when written stores 1012, reports "Invalid number" and
 * writes nothing. Whatever is written loads back as the same tree: the building and editing calls refuse
 * names the reader cannot read ("Invalid name"; edits: 1007), infinite or NaN numbers ("Invalid number";
 * edits: 1012) and file names holding a bar or a line end ("Invalid character in filename"; edits: 1012); a
 * CR LF inside a text is written CR CR LF, which reads back as CR LF. */
ZEM_API void zemWrite(void* handle, const char* fileName);
ZEM_API void zemAppend(void* handle, const char* fileName);

/* ---- Navigation and getters ---------------------------------------------- */

/* The root target list of the handle's tree, or null (an invalid handle stores 1005 without a report). */
ZEM_API void* zemGetRoot(void* handle);
ZEM_API int zemGetNoTargets(void* handle);
ZEM_API void* zemTargetByNum(void* handle, unsigned int n);
ZEM_API void* zemTargetByNameNum(void* handle, const char* name, unsigned int instance);
ZEM_API void* zemSectionByNum(void* node, unsigned int n);
ZEM_API void* zemSectionByNameNum(void* node, const char* name, unsigned int instance);
ZEM_API void* zemKeywordByNum(void* node, unsigned int n);
ZEM_API void* zemKeywordByNameNum(void* node, const char* name, unsigned int instance);
/* A keyword's n-th value; a default placeholder is answered by the default that stands for it. */
ZEM_API void* zemParamByNum(void* node, unsigned int n);
ZEM_API void* zemNodeByNum(void* node, unsigned int n);
ZEM_API int zemGetSyntaxClass(void* node);
/* Counts: -1 for an invalid node. */
ZEM_API int zemGetNoSections(void* node);
ZEM_API int zemGetNoKeywords(void* node);
ZEM_API int zemGetNoParams(void* node);
ZEM_API int zemGetNoNodes(void* node);
ZEM_API int zemGetNoInstances(void* node);
ZEM_API int zemGetInstanceNo(void* node);
/* Number of ancestors: 0 root, 1 target, 2 keyword of a target, 3 its value; -1 invalid. */
ZEM_API int zemGetLevel(void* node);
/* Name and dotted full name. Owned by the node; valid until it changes. */
ZEM_API const char* zemGetName(void* node);
ZEM_API const char* zemGetNameGlb(void* node);
/* Value getters: -1 (int), -1.0 (float, double), 0 (bool) or "" for an invalid node; another kind of value
 * reports "Function invalid in this context" and yields 0, 0.0 or "". Texts are owned by the node. */
ZEM_API int zemGetInt(void* node);
ZEM_API float zemGetFloat(void* node);
ZEM_API double zemGetDouble(void* node);
ZEM_API int zemGetBool(void* node);
ZEM_API const char* zemGetString(void* node);
ZEM_API void zemPasGetDoubleProc(void* node, double* out);
ZEM_API void zemPasGetFloatProc(void* node, float* out);
/* Copy variants: 0 copied, -1 too small (or null buffer, size <= 0), -2 no text. */
ZEM_API int zemGetName2(void* node, char* buffer, int size);
ZEM_API int zemGetNameGlb2(void* node, char* buffer, int size);
ZEM_API int zemGetString2(void* node, char* buffer, int size);
/* Predicates: 0 for an invalid node. zemIsSection answers 1 for the root too. */
ZEM_API int zemIsSection(void* node);
ZEM_API int zemIsKeyword(void* node);
ZEM_API int zemIsParam(void* node);
ZEM_API int zemIsNumeric(void* node);
ZEM_API int zemIsInt(void* node);
ZEM_API int zemIsFloat(void* node);
ZEM_API int zemIsDouble(void* node);
ZEM_API int zemIsBool(void* node);
ZEM_API int zemIsString(void* node);
ZEM_API int zemIsUndefinedPar(void* node);
ZEM_API int zemIsDefaultPar(void* node);
ZEM_API int zemIsTarget(void* node);
ZEM_API int zemNumericIsIntType(void* node);
ZEM_API void* zemGetParentSection(void* node);
/* Sections by path "A/B:2/C" or "A.B:2.C" (name, optional ":instance"). */
ZEM_API void* zemFindSectionByHandle(void* handle, const char* path);
ZEM_API void* zemFindSectionByNode(void* node, const char* path);
/* The value a default line supplies for a default placeholder, or the placeholder itself when no default line
 * of its keyword supplies one; null for other values. */
ZEM_API void* zemFindDefault(void* node);

/* ---- Building ------------------------------------------------------------ */

/* A new empty document; null when out of memory. Clears any pending code. Release with zemClose. */
ZEM_API void* zemCreate(void);
/* Plain variants report building errors unless the handle is silent; S variants make the handle
 * silent and return 0, 1005 (invalid handle) or 2000 (this or an earlier building step failed). */
ZEM_API void zemAddTarget(void* handle, const char* name);
ZEM_API int zemAddTargetS(void* handle, const char* name);
ZEM_API void zemAddSection(void* handle, const char* name);
ZEM_API int zemAddSectionS(void* handle, const char* name);
ZEM_API void zemEndSection(void* handle);
ZEM_API int zemEndSectionS(void* handle);
ZEM_API void zemAddKeyword(void* handle, const char* name);
ZEM_API int zemAddKeywordS(void* handle, const char* name);
ZEM_API void zemAddInt(void* handle, int value);
ZEM_API int zemAddIntS(void* handle, int value);
ZEM_API void zemAddFloat(void* handle, float value);
ZEM_API int zemAddFloatS(void* handle, float value);
ZEM_API void zemAddDouble(void* handle, double value);
ZEM_API int zemAddDoubleS(void* handle, double value);
ZEM_API void zemAddBool(void* handle, int value);
ZEM_API int zemAddBoolS(void* handle, int value);
ZEM_API void zemAddString(void* handle, const char* text);
ZEM_API int zemAddStringS(void* handle, const char* text);
ZEM_API void zemAddFilename(void* handle, const char* name);
ZEM_API int zemAddFilenameS(void* handle, const char* name);
ZEM_API void zemAddUndefinedPar(void* handle);
ZEM_API int zemAddUndefinedParS(void* handle);

/* Template definitions: require a handle made by zemCreate ("Invalid zemHandle (CzemCreate)"). */
ZEM_API void zemAddIntDef(void* handle);
ZEM_API int zemAddIntDefS(void* handle);
ZEM_API void zemAddFloatDef(void* handle);
ZEM_API int zemAddFloatDefS(void* handle);
ZEM_API void zemAddDoubleDef(void* handle);
ZEM_API int zemAddDoubleDefS(void* handle);
ZEM_API void zemAddBoolDef(void* handle);
ZEM_API int zemAddBoolDefS(void* handle);
ZEM_API void zemAddStringDef(void* handle);
ZEM_API int zemAddStringDefS(void* handle);
ZEM_API void zemAddFilenameDef(void* handle);
ZEM_API int zemAddFilenameDefS(void* handle);
/* codes: one of B D F I N S (any case) per placeholder value. */
ZEM_API void zemAddKeywordDef(void* handle, const char* name, const char* codes, int mayRepeat, int required,
                              int lastRepeats);
ZEM_API int zemAddKeywordDefS(void* handle, const char* name, const char* codes, int mayRepeat, int required,
                              int lastRepeats);
ZEM_API void zemAddSectionDef(void* handle, const char* name, int mayRepeat, int required);
ZEM_API int zemAddSectionDefS(void* handle, const char* name, int mayRepeat, int required);

/* Values bound to caller variables, read at every access and write; the variable must outlive the tree. */
ZEM_API void zemAddIntRef(void* handle, int* variable);
ZEM_API int zemAddIntRefS(void* handle, int* variable);
ZEM_API void zemAddFloatRef(void* handle, float* variable);
ZEM_API int zemAddFloatRefS(void* handle, float* variable);
ZEM_API void zemAddDoubleRef(void* handle, double* variable);
ZEM_API int zemAddDoubleRefS(void* handle, double* variable);
ZEM_API void zemAddBoolRef(void* handle, int* variable);
ZEM_API int zemAddBoolRefS(void* handle, int* variable);
ZEM_API void zemAddStringRef(void* handle, const char** variable);
ZEM_API int zemAddStringRefS(void* handle, const char** variable);

/* ---- File names ------------------------------------------------------------ */

ZEM_API int zemIsFilename(void* node);
/* The name resolved against the document's anchor file. Owned by the value; valid until its next resolution. */
ZEM_API const char* zemGetFilename(void* node);
ZEM_API int zemGetFilename2(void* node, char* buffer, int size);
/* The name as written. Owned by the value. */
ZEM_API const char* zemGetFilenameString(void* node);
ZEM_API void zemSetFilename(void* node, const char* name);
ZEM_API void zemSetAnchorFilename(void* node, const char* name);
/* The anchor held by a target list or section ("" for other nodes). Owned by the node. */
ZEM_API const char* zemGetAnchorFilename(void* node);
ZEM_API int zemGetAnchorFilename2(void* node, char* buffer, int size);

/* ---- CLOB values ------------------------------------------------------------ */

/* zemAddClob appends a new empty CLOB to the current keyword and makes it the current CLOB; zemAddClobS returns
 * the builder status like the other S building variants (0, 1005 or 2000).
 * Items go to the handle's current CLOB, else to a CLOB node given in its place; their S variants return 0, or
 * 1005 when there is no CLOB to append to. */
ZEM_API void zemAddClob(void* handle);
ZEM_API int zemAddClobS(void* handle);
ZEM_API void zemAddClobBool(void* handle, int value);
ZEM_API int zemAddClobBoolS(void* handle, int value);
ZEM_API void zemAddClobInt(void* handle, int value);
ZEM_API int zemAddClobIntS(void* handle, int value);
ZEM_API void zemAddClobFloat(void* handle, float value);
ZEM_API int zemAddClobFloatS(void* handle, float value);
ZEM_API void zemAddClobDouble(void* handle, double value);
ZEM_API int zemAddClobDoubleS(void* handle, double value);
ZEM_API void zemAddClobString(void* handle, const char* text);
ZEM_API int zemAddClobStringS(void* handle, const char* text);
ZEM_API void zemAddClobFilename(void* handle, const char* name);
ZEM_API int zemAddClobFilenameS(void* handle, const char* name);
/* Reading the next item: plain variants return the value (0 / null on failure, 1003 stored, the CLOB
 * message reported); S variants store into *out and return 0, 1015 (not a CLOB) or 2002 (read failed).
 * Texts and items belong to the CLOB until its next read, reset or destruction. */
ZEM_API int zemGetClobBool(void* node);
ZEM_API int zemGetClobBoolS(void* node, int* out);
ZEM_API int zemGetClobInt(void* node);
ZEM_API int zemGetClobIntS(void* node, int* out);
ZEM_API float zemGetClobFloat(void* node);
ZEM_API int zemGetClobFloatS(void* node, float* out);
ZEM_API double zemGetClobDouble(void* node);
ZEM_API int zemGetClobDoubleS(void* node, double* out);
ZEM_API const char* zemGetClobString(void* node);
ZEM_API int zemGetClobStringS(void* node, const char** out);
ZEM_API const char* zemGetClobFilename(void* node);
ZEM_API int zemGetClobFilenameS(void* node, const char** out);
ZEM_API void* zemGetClobItem(void* node);
ZEM_API int zemGetClobItemS(void* node, void** out);
ZEM_API void zemClobReset(void* node, int clear);
ZEM_API int zemClobResetS(void* node, int clear);
ZEM_API int zemIsClob(void* node);
ZEM_API int zemIsClobEnd(void* node);
ZEM_API int zemIsClobEndS(void* node, int* out);
/* The CLOB's last read message ("" after success). Owned by the CLOB. */
ZEM_API const char* zemGetErrorFromZemClob(void* node);

/* ---- Value texts ------------------------------------------------------------ */

/* The characters of a value as read or set: the token of a number read from a file, the content of a
 * string, date-time, file name or CLOB, the name after "%" of a substitution, the braced text of a
 * braced-only value; "" for values built from numbers and for empty places. Owned by the value.
 * A node that is no value stores 1012, reports "Invalid zem parameter" and yields "". */
ZEM_API const char* zemGetValueText(void* node);

/* ---- Editing ------------------------------------------------------------- */

/* Change a tree in place, whatever it came from (loaded, built or copied). Positions and instance numbers count
 * from 1. After every call the node's lists, name indexes, instance numbers and values' numbers agree again.
 * Deleted nodes are destroyed with everything below them: pointers to them (and into them) become invalid, and a
 * building cursor of the document on them moves to the nearest surviving section (or to none), so the next
 * building call fails with its usual error ("Missing current keyword", ...). Nodes inserted belong to the tree;
 * pointers returned stay valid until the node is deleted or its document closed.
 *
 * Checks: "reporting" stores the code and reports its text, "quiet" only stores it (first error wins).
 *   section check:     1009 "Invalid zem section"       target-list check: 1011 "Invalid zem target list"
 *   keyword check:     1007 "Invalid zem named node"    (the call then returns 1008)
 *   parameter check:   1012 "Invalid zem parameter" */

/* Delete keyword number n / keyword `name` of that instance of a section (section check, reporting: 1009), a
 * subsection of a target list (target-list check, quiet: 1011), value number n of a keyword (keyword check,
 * reporting: 1008). 0 on success; 1010 when there is no such node (n = 0 or above the count), tree unchanged. */
ZEM_API int zemeDeleteKeywordByNum(void* section, unsigned int n);
ZEM_API int zemeDeleteKeywordByNameNum(void* section, const char* name, unsigned int instance);
ZEM_API int zemeDeleteSectionByNum(void* targetList, unsigned int n);
ZEM_API int zemeDeleteSectionByNameNum(void* targetList, const char* name, unsigned int instance);
ZEM_API int zemeDeleteParameter(void* keyword, unsigned int n);

/* Insert a new empty keyword (section check, reporting) or section (target-list check, quiet) named `name` (null
 * reads as ""). Position 1, or a parent without nodes of that kind, puts it before all children; 0 or a position
 * above the count of its kind puts it after the last child; any other position just before the node that holds
 * it now. Same-named later nodes move up one instance number. Returns the new node (owned by the tree), or null
 * when a check fails or the node cannot be entered (1010 stored). */
ZEM_API void* zemeInsertNewKeyword(void* section, const char* name, unsigned int position);
ZEM_API void* zemeInsertNewSection(void* targetList, const char* name, unsigned int position);
/* Insert a new value into a keyword (keyword check, reporting) at index position - 1, taken unsigned and capped
 * at the count (0 and positions past the end append); the values after it are renumbered. Texts are copied (null
 * reads as ""); a bool keeps the int as given. Returns the new value (owned by the tree), or null on failure. */
ZEM_API void* zemeInsertNewParameterInt(void* keyword, int value, unsigned int position);
ZEM_API void* zemeInsertNewParameterDouble(void* keyword, double value, unsigned int position);
ZEM_API void* zemeInsertNewParameterBool(void* keyword, int value, unsigned int position);
ZEM_API void* zemeInsertNewParameterString(void* keyword, const char* text, unsigned int position);
ZEM_API void* zemeInsertNewParameterFileName(void* keyword, const char* text, unsigned int position);
ZEM_API void* zemeInsertNewParameterClob(void* keyword, unsigned int position);
ZEM_API void* zemeInsertNewParameterUndefined(void* keyword, unsigned int position);

/* Insert a deep copy of a keyword, section or value at a position (rules as above); the source is not changed and
 * may lie in another document or inside the destination (it is copied before it is inserted). 0 on success;
 * bad destination: 1009 (section check, reporting), 1011 (target-list check, quiet), 1008 (keyword check,
 * reporting); bad source: 1008 (keyword check, quiet), 1009 (section check, quiet), 1012 (parameter check,
 * quiet). */
ZEM_API int zemeInsertCopyKeyword(void* section, void* keyword, unsigned int position);
ZEM_API int zemeInsertCopySection(void* targetList, void* section, unsigned int position);
ZEM_API int zemeInsertCopyParameter(void* keyword, void* param, unsigned int position);

/* Rename a keyword or section (the name is copied; null reads as ""). Names need not be unique: the node becomes
 * one more instance of its new name, numbered by its position. 0 on success; bad node: 1008 (keyword check,
 * quiet) or 1009 (section check, quiet); a node without parent takes the name and then fails its parent's check
 * (1009 or 1011, reporting). Name texts returned earlier for the node become invalid. */
ZEM_API int zemeModifyKeywordName(void* keyword, const char* name);
ZEM_API int zemeModifySectionName(void* section, const char* name);

/* Replace a value in place: the value keeps its identity, parent and number, so pointers to it stay valid (texts
 * read from it before do not). Accepted: Int any integer value (also definitions and bound ones), Double any real
 * (float or double), Bool a value answering zemIsBool, String one answering zemIsString, FileName one answering
 * zemIsFilename. A value bound to a caller variable stays bound and unchanged. 0 on success; 1012 for a non-value
 * (parameter check, quiet); 1014 for a value of another kind, without touching the global error code. */
ZEM_API int zemeModifyParameterInt(void* param, int value);
ZEM_API int zemeModifyParameterDouble(void* param, double value);
ZEM_API int zemeModifyParameterBool(void* param, int value);
ZEM_API int zemeModifyParameterString(void* param, const char* text);
ZEM_API int zemeModifyParameterFileName(void* param, const char* text);

/* ---- Insert and copy ------------------------------------------------------- */

/* Inserts a deep copy of the pending section into the relative section's parent, just before it (before non-zero)
 * or just after it; instance numbers follow the new order. The pending node is never changed and may be in another
 * document. Nothing is inserted, and only a message is sent, when: a node is invalid (1006, "Invalid zemNode");
 * the relative node has no target-list parent or either node is neither section nor keyword ("zemInsert
 * inconsistency"); a section is pending beside a keyword ("zemInsert: pending section relative to keyword"); a
 * keyword is pending ("zemInsert: pending keyword insertion", or beside a top-level section
 * "zemInsert:\nrelative specifier is neither keyword nor pure section"); the copy fails ("zemInsert error"). */
ZEM_API void zemInsert(void* pending, void* relative, int before);
/* Makes the destination a deep copy of the source: two sections, two roots, or two keywords. The destination keeps
 * its identity and parent, takes the source's name and flags, and its former children are destroyed (pointers to
 * them become invalid); it is re-entered in its parent's index under the new name. Either node may lie inside the
 * other: the source is copied first. Copying a node onto itself does nothing. Invalid nodes: 1006 and "Invalid
 * zemNode"; other pairs, a root with a section among them, only send the message
 * "zemCopy:\n\tsection/section or\n\tkeyword/keyword required". */
ZEM_API void zemCopy(void* source, void* destination);
/* Loads inFile (reporting), makes every file-name value the absolute name it has relative to inFile and writes the
 * document to outFile as zemWrite does. Returns 1 when outFile was written; 0 when the load failed (its code stays
 * set, nothing is written) or the write failed (1001 stored, "Open error: <outFile>" reported). The text goes to
 * a temporary file beside outFile that replaces it only when complete, so a failed copy leaves outFile as it was. */
ZEM_API int zemFileCopy(const char* inFile, const char* outFile);

/* ---- Equivalence ----------------------------------------------------------- */

/* Checks whether `candidate` conforms to the template `templ`: two sections (not roots), or two keywords.
 * Returns 1 when it conforms, 0 otherwise. `unused` is accepted and ignored.
 *
 * Sections: the names must be equal ignoring case, the template's name not blank; the template's parent
 * holds no other section of its name, and unless the template may repeat ("()" after its name) neither does
 * the candidate's. Every candidate subsection is checked against the template subsection of its name, in
 * template order; a required template subsection must be present; a candidate subsection whose name the
 * template lacks fails. Every candidate keyword is checked against the template keyword of its name, or
 * against the template's blank-named keyword (the wildcard) when the template lacks its name; a keyword
 * the template lacks without a wildcard fails. Template keywords the candidate lacks are no failure.
 * Keywords: names as for sections (a blank template name matches any non-blank name); the candidate holds
 * one keyword of its name unless the template may repeat; the values are compared one by one (default
 * placeholders read as their defaults) until one side ends; both must end together, unless the template's
 * last value may repeat ("last repeats"), when it must fit every further candidate value. A template
 * keyword without values but with the last-repeats flag takes no values ("Too many parameters", No:1).
 * Values: a number fits a numeric template value when both are valid as int, or both as float, or both as
 * double; any other value fits when its syntax class is the template value's.
 *
 * The walk stops at the first difference and reports it (kind 17) as "Error: <message>" followed by
 * "\n\tTemp: <dotted path>" and/or "\n\tCand: <dotted path>" (section and keyword messages: "Two sections
 * required", "Blank section name", "Section name conflict", "Ambiguous template section", "Ambiguous
 * candidate section", "Missing section" (Temp only), "Inconsistent number of sections", "Keyword name
 * conflict", "Ambiguous template keyword", "Ambiguous candidate keyword", "Unrecognized keyword" (the
 * candidate keyword after "Temp:")), or by "\n\tKeyw: <dotted path>\n\tNo:<n>" ("Parameter type conflict",
 * "Unresolved default value", "Missing parameters", "Too many parameters"). Two nodes of other kinds report
 * "Conflicting zemNode types". Differences set no error code. A non-zero `quiet` suppresses every report of
 * the call. An argument that is not a node stores 1006, reports "Invalid zemNode" (unless quiet) and gives 0. */
ZEM_API int zemEquivalentExt(void* templ, void* candidate, void* unused, int quiet);
/* zemEquivalentExt with quiet 0. */
ZEM_API int zemEquivalent(void* templ, void* candidate, void* unused);
/* The quiet argument of the last zemEquivalentExt (or 0 after zemEquivalent); 0 before any check. The flag is
 * process-wide, so concurrent checks see each other's setting. */
ZEM_API int zemIsEqvQuiet(void);

/* ---- Get and put by keyword name: see zem.hpp ------------------------------ */

/* ---- Result folders and result files --------------------------------------- */

/* A document's result folder follows from three settings held by its root (a result root folder, a use-custom
 * flag and a custom result folder; read from a top-level SYSTEM section on load, written back as one on write)
 * and from the folder-name template: the environment variable QXRESULTFOLDERTEMPLATE, or "%setup% - Result Files"
 * when it is not set. Template tokens (every occurrence replaced, in this order): "%setup%" the setup file's name
 * (without its extension when the template also holds "%setup2%"), "%setup2%" that name without its last
 * extension (both "Untitled" when there is no setup file), "%folder%" the name of the setup file's folder,
 * "%user%" USERNAME (else USER; the token stays when neither is set), "%date%" day and month ("04Dec"),
 * "%qxresvar%" QXRESVAR (or "QXRESVAR" when it is unset or empty). An empty result becomes ".". The
 * environment is read at every call.
 *
 * Every char* output holds ZEM_MAX_PATH bytes. A path that would not fit them (with its zero byte), or whose
 * template expansion reaches that length, is never truncated: the output is the empty text instead. Paths
 * starting with a drive ("c:") or "\\" keep Windows rules and backslashes; others use '/' (both separators are
 * read). A null output pointer is skipped. */

/* The result folder of node's document (any node; the call climbs to its root): the custom folder when the flag
 * is set and the folder is not empty; else the template's folder name under the result root folder, or beside
 * the setup file (the anchor file name) when there is no root folder, a relative setup folder completed from the
 * current directory. "." and ".." are resolved; the folder ends with a separator, unless it is the custom one.
 * A pointer that is not a node stores 1006 and reports "Invalid zemNode" once for each of the four settings it
 * looks up; the folder is then built from empty settings. */
ZEM_API void zemGetResultFolderPath(void* node, char* out);
/* The same rule on the caller's values (null texts read as empty; a null setupFile is no setup file, giving
 * "Untitled"): useCustom non-zero copies customFolder unchanged, even when empty; a relative setup file gives a
 * relative folder. */
ZEM_API void zemConstructResultFolderPathName(int useCustom, const char* customFolder, const char* resultRoot,
                                              const char* setupFile, char* out);
/* Stores the use-custom flag and copies the custom result folder of node's document. Not a node: 1006, report
 * "Invalid zemNode", nothing written; a node outside any document writes nothing either. */
ZEM_API void zemGetCustomResultFolder(void* node, int* useCustom, char* folder);
/* Sets the use-custom flag and a copy of folder (null reads as ""). Not a document handle: 1005, report
 * "Invalid zemHandle (CzemData)"; a handle without tree: 1006, report "Invalid zemNode"; nothing changes then. */
ZEM_API void zemSetCustomResultFolder(void* handle, int useCustom, const char* folder);
/* The result root folder of node's document, "" when it is empty or node is invalid (1006, reported). Owned by the
 * document; valid until the next zemSetProjectResultRoot on it or zemClose. */
ZEM_API const char* zemGetProjectResultRoot(void* node);
/* Sets a copy of folder as the result root folder; fails as zemSetCustomResultFolder. */
ZEM_API void zemSetProjectResultRoot(void* handle, const char* folder);

/* Appends a result file value to the current keyword: a relative name (an empty one too) as a string value,
 * exactly as zemAddString; an absolute one as a file-name value, exactly as zemAddFilename. Building errors as the
 * other building calls: "Missing current keyword", and "Invalid character in filename" for a name holding a bar,
 * a carriage return or a line feed (which the file could not hold: nothing is appended). The S variant returns
 * 0, 1005 (not a handle; no report) or 2000. */
ZEM_API void zemAddResultFilename(void* handle, const char* name);
ZEM_API int zemAddResultFilenameS(void* handle, const char* name);
/* The name of a result file value: a string value's text, else zemGetFilename(node) (null with "Function invalid
 * in this context" for other kinds of value). Null node: null, no report. Not a node: 1006 and "Invalid zemNode"
 * reported twice, "". Owned by the value, as the text of zemGetString or zemGetFilename. */
ZEM_API const char* zemGetResultFilename(void* node);
/* The full path of a result file value into out: a string value joined to the document's result folder
 * (zemGetResultFolderPath) with "." and ".." resolved; a file-name value's resolved name. A null node, or a value
 * of another kind ("Function invalid in this context"), leaves out unchanged; not a node: reported as
 * zemGetResultFilename, out "". */
ZEM_API void zemGetResultFilenamePath(void* node, char* out);

/* ---- Token reader ------------------------------------------------------------ */

/* A stand-alone reader that walks a parameter file token by token without building a tree, reading the
 * file in fixed blocks: its memory stays the same whatever the file size (plus the longest token). It
 * keeps its errors itself: none of these calls stores a global error code or reports through vox.
 *
 * Token codes of zemtNextToken, with the token's text (zemtGetTokenString):
 *     0 end of input ("")              100 "[Name]", the name           101 EndSect ("")
 *    -1 error, see zemtGetError        200 "Name =", the name
 *    -2 null reader                   1000 a value place holding none of the values below ("", nothing read)
 *  1010 true ("")   1011 false ("")   1020 integer, as written with its sign   1021 real, as written
 *  1030 'quoted string', the content with a doubled quote reduced to one      1200 |file name|, the content
 * Keywords and section names are letters, digits and underscores; EndSect, true and false are
 * case-sensitive. Comments (";" and "//" to the line end, block comments from slash-star to star-slash,
 * "{ ... }") do not nest. A CR LF pair reads as one line end; a CR alone also ends a line (and stays in
 * quoted texts). Date-times, substitutions, default lines and template markers are not read: a value
 * place holding one gives 1000, and the rest of it an error. Error texts (zemtGetError):
 *   "Format error. Expected start of section '['"   "Bad section, missing ], end of file reached"
 *   "Bad section, expected ]"   "Expected EndSect definition"   "Expected '=' for keyword definition"
 *   "Bad string, missing closing quote '"   "Bad filename string, missing closing bar |"
 *   "Bad comment, missing }"   "Bad comment, missing " followed by star-slash (a block comment)
 *   "Expecting digit after ."   "Bad floating point exponent definition (e/E)"
 *   "Read error, file truncated or unreadable": a read failed, or the file became shorter while it was
 *   read; the token being read is replaced by this error and the input ends there.
 * An open comment at the end records its error but gives 0 (1000 where a value was due): ask
 * zemtGetError after 0 to tell a clean end. A missing EndSect at the end is no error. After -1 the reader
 * goes on where it stands. */
typedef struct CzemTokenReader CzemTokenReader;

/* Opens fileName and stores a new reader in *reader. Returns 0; 1002 when the reader's input cannot be
 * made, 1001 when the file cannot be opened (missing, unreadable, a folder, a null name), 1004 when the
 * reader cannot be made or reader is null. On failure *reader is not written and nothing stays open. The
 * caller owns the reader: release it with zemtDispose. */
ZEM_API int zemtLoadFile(const char* fileName, CzemTokenReader** reader);
/* Reads the next token and returns its code (above); -2 for a null reader. After the end every call
 * returns 0 again. */
ZEM_API int zemtNextToken(CzemTokenReader* reader);
/* The last token's text (empty or partial after -1); "" for a null reader. Owned by the reader; valid until
 * the next zemtNextToken or zemtDispose. A NUL byte inside a quoted text or file name ends the text as
 * seen through this pointer. */
ZEM_API const char* zemtGetTokenString(CzemTokenReader* reader);
/* The last recorded error's text, each new error replacing the one before; where the reader stood when it
 * recorded it goes to *line (from 1) and *column (the bytes read on that line: the column of the last
 * character read, 0 at the start of a line). "" with 0, 0 when no error was recorded; "" with -1, -1 for
 * a null reader. Null out-arguments are skipped. The text is owned by the reader; valid until the next
 * zemtNextToken or zemtDispose. */
ZEM_API const char* zemtGetError(CzemTokenReader* reader, int* line, int* column);
/* Where the last token starts: the line and column (from 1, counting bytes) of its first character, or of
 * the place just after the input for 0. For 1000 it is the character that stands where a value was due.
 * -1, -1 for a null reader; null out-arguments are skipped. */
ZEM_API void zemtGetTokenPosition(CzemTokenReader* reader, int* line, int* column);
/* Destroys the reader (closing its file, freeing its texts) and sets *reader to null, so a second call
 * does nothing. A null reader or null address does nothing. */
ZEM_API void zemtDispose(CzemTokenReader** reader);

/* ---- Dump and explore -------------------------------------------------------- */

/* The visit callback: receives each node; valid only during the call unless the node outlives it. */
typedef void (*ZemVisitFn)(void* node);
/* Calls callback for every node of the document in document order, each section, keyword or default line before
 * its children, every value; not for the root. The callback must not delete nodes. Invalid handle: 1005 and
 * "Invalid zemHandle (CzemData)"; a document without tree: 1006 and "Invalid zemNode"; the callback is not called
 * then. A null callback visits nothing (the handle is checked all the same). */
ZEM_API void zemExplore(void* handle, ZemVisitFn callback);
/* Writes a listing of target (a node, with everything below it; or a document handle, whose root's descendants
 * are listed) to fileName, replaced, one line per node ending in CR LF:
 *   (level - 1) x 3 blanks, "(<syntax class>) ", "<instances,instance> " when there are several instances, then
 *   section: "[Name]   (S sections   K keywords)   <Full.Name>"
 *   keyword (also a default line): "Name =    (P params)   <Full.Name>"
 *   value: "DEFAULT: " for a default placeholder (the rest describes its default), then "Float: v   ",
 *     "Double: v   ", "Int: v   " for each view a number has, or "String: text", "Boolean: true|false",
 *     "Parameter ..."
 * Reals are written with six significant digits. Anything that is neither node nor document handle with a tree:
 * 1006 and "zemDump: bad argument". A null or unopenable fileName writes nothing, without a report. */
ZEM_API void zemDump(void* target, const char* fileName);

/* ---- Source positions of loaded nodes ---------------------------------------- */

/* Where a loaded section or keyword stands in the text it was loaded from. Lines and columns count from
 * 1 as the loader counts them (a CR LF pair is one line end; columns count bytes). (line, column) is the
 * first character of the node's text: the "[" of a section, the first character of a keyword's name
 * (or of "default" for a default line). (endLine, endColumn) is the position just after its last
 * character: after "EndSect" of a section, after the last value of a keyword (after "=" when it has
 * none). Returns 1 and fills the non-null out-arguments; returns 0 and fills zeros for nodes that were
 * built or copied rather than loaded, and for values and roots. Not a node: 1006, report "Invalid zemNode",
 * result 0. */
ZEM_API int zemGetNodeSpan(void* node, int* line, int* column, int* endLine, int* endColumn);

#ifdef __cplusplus
}
#endif

#endif /* ZEM_ZEM_H */
