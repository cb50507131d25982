// Linked into the programs only in sanitizer builds. SDL unloads libGL and Mesa unloads its
// driver before the process ends; LeakSanitizer then cannot name the library a leftover
// allocation came from, and lsan.supp cannot set it aside. Keeping every library loaded
// until exit lets the report name them.
extern "C" int dlclose(void*) {
    return 0;
}
