# What `cmake --graphviz` draws for docs/architecture.md: our libraries and programs and the
# Qt modules they link, without the per-target dependency files.
set(GRAPHVIZ_GRAPH_NAME "vantor")
set(GRAPHVIZ_GENERATE_PER_TARGET FALSE)
set(GRAPHVIZ_GENERATE_DEPENDERS FALSE)
set(GRAPHVIZ_IGNORE_TARGETS "^tst_" "^bench_" "^fuzz_" "vantor-test-support" "Qt5::Test" "benchmark::" "Qt5::moc" "Qt5::uic" "Qt5::rcc")
