/* The plug-in's boundary with its host: four entry points with C linkage.
 *
 * Calling convention. On 32-bit x86 Windows every entry point takes its first
 * argument in EAX and its second in EDX, takes nothing from the stack, returns
 * a pointer in EAX and a Boolean in AL (0 false, 1 true; the rest of EAX is
 * undefined), and preserves EBX, ESI, EDI and EBP: GCC's regparm(3). On other
 * platforms the entry points use the platform's own C convention.
 *
 * Texts are zero-terminated byte strings in the process's 8-bit code page
 * (UTF-8 on POSIX). A null pointer passed in reads as the empty text. Every
 * pointer returned points to a constant owned by the library: never null,
 * never to be modified or released by the caller, valid until the library is
 * unloaded.
 *
 * No entry point reports an error and no C++ exception leaves one. If memory
 * runs out inside PluginCompare or GetPluginInfo, the call's memory is
 * released and then, on Windows, a structured exception is raised into the
 * caller's thread; on POSIX the process ends with a message on standard error.
 *
 * Threads: any thread may call any entry point at any time, also while other
 * calls are running; calls share no mutable state. (Under contention the
 * trace file of a tracing build loses lines, never parts of lines.)
 */
#ifndef WORDLAP_PLUGIN_EXPORTS_H
#define WORDLAP_PLUGIN_EXPORTS_H

#if defined(_WIN32) && defined(__i386__)
#define WORDLAP_CALL __attribute__((regparm(3)))
#else
#define WORDLAP_CALL
#endif

#if defined(_WIN32)
#define WORDLAP_API /* exported by name and ordinal through Wordlap.def */
#else
#define WORDLAP_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
#define WORDLAP_NOEXCEPT noexcept
extern "C" {
#else
#include <stdbool.h>
#define WORDLAP_NOEXCEPT
#endif

/* Ordinal 1. The host version the plug-in was written for: "0.8.2". */
WORDLAP_API const char* WORDLAP_CALL GetTrovixVersion(void) WORDLAP_NOEXCEPT;

/* Ordinal 2. True when the file names of the two paths look like duplicates
 * by word overlap. Either path may be null (the empty text, never a match).
 * The paths are only read, and only during the call. */
WORDLAP_API bool WORDLAP_CALL
PluginCompare(const char* path_a, const char* path_b) WORDLAP_NOEXCEPT;

/* Ordinal 3. The answer for an information key ("name", "author",
 * "version", "comparer", "viewer", "tbc", "description"), compared byte for
 * byte with case respected; the empty text for any other key and for null.
 * The same key always gives the same pointer. */
WORDLAP_API const char* WORDLAP_CALL GetPluginInfo(const char* key)
    WORDLAP_NOEXCEPT;

/* Ordinal 4. Always true: marks the library as a plug-in of the host. */
WORDLAP_API bool WORDLAP_CALL TrovixPlugin(void) WORDLAP_NOEXCEPT;

#ifdef __cplusplus
}
#endif

#endif /* WORDLAP_PLUGIN_EXPORTS_H */
