# The build for WebAssembly with emscripten: the core and its tests under
# Node, and the module the browser page loads (src/web/).

# The core throws and catches; emscripten's default catches nothing.
add_compile_options(-fexceptions)
add_link_options(-fexceptions -sALLOW_MEMORY_GROWTH=1)
# Link-time optimisation, with emscripten's own libraries built for it: the
# page's module is smaller by a tenth (docs/PERFORMANCE.md).
add_compile_options(-flto)
add_link_options(-flto)
