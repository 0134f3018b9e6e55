/* vox: the message sink of zem.
 *
 * The main library reports every failure it is asked to report as one complete
 * text through this library. Applications may install their own sink to route
 * the texts to a log, a window or a test harness. */
#ifndef VOX_VOX_H
#define VOX_VOX_H

#if defined(_WIN32)
#define VOX_API __declspec(dllexport)
#elif defined(__GNUC__)
#define VOX_API __attribute__((visibility("default")))
#else
#define VOX_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* One cell of an argument list for voxZemMsg. Opaque. */
typedef struct VoxArg VoxArg;

/* Prepends a text argument to `rest` and returns the new list head. The text is
 * copied (a null text counts as empty). The list is freed by voxZemMsg. Returns
 * `rest` unchanged when memory runs out. */
VOX_API VoxArg* voxString(const char* text, VoxArg* rest);

/* Prepends an integer argument to `rest`; otherwise as voxString. */
VOX_API VoxArg* voxInt(int value, VoxArg* rest);

/* Reports one complete message (kind 0). A null text reports an empty line. */
VOX_API void voxZemAPE(const char* text);

/* Fills each '%' of `format` with the next list argument (texts as they are,
 * integers in decimal; a '%' without an argument stays '%'), reports the result
 * with `kind`, and frees `list` (always, even for a null format). */
VOX_API void voxZemMsg(const char* format, int kind, VoxArg* list);

/* Receives every report as one complete text. */
typedef void (*VoxSink)(const char* text, int kind, void* user);

/* Routes all later reports to `sink` with `user` passed through. A null sink
 * restores the default, which writes each report as one line to stderr. */
VOX_API void voxSetSink(VoxSink sink, void* user);

#ifdef __cplusplus
}
#endif

#endif /* VOX_VOX_H */
