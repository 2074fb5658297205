# The build for WebAssembly with emscripten: the core and its tests under
# Node, and the module the browser page loads (src/web/).

# The core throws and catches; emscripten's default catches nothing.
add_compile_options(-fexceptions)
add_link_options(-fexceptions -sALLOW_MEMORY_GROWTH=1)
