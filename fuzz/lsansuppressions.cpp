// Leaks inside Qt itself, which the fuzz targets cannot fix. Qt 5.15.8's JSON parser loses
// the first value of a duplicated object key when that value is a non-empty array or object,
// e.g. {"a": [1], "a": 2}; LeakSanitizer would stop every JSON target at the first such input.
// Qt 5.15's offscreen platform never deletes the screen it creates, and fontconfig keeps
// some of what Qt's first font lookup allocates.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:QJsonDocument::fromJson\nleak:libqoffscreen.so\nleak:libfontconfig.so\n";
}
