// LeakSanitizer options of the Qt test binaries: full stacks (Qt is built
// without frame pointers), so that the suppressions in tests/lsan.supp match
// only allocations inside Qt Multimedia and PulseAudio. Unused without the
// sanitizer.
extern "C" const char* __lsan_default_options() {
  return "fast_unwind_on_malloc=0:suppressions=" TESSARO_SOURCE_DIR "/tests/lsan.supp";
}
