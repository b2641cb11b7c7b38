# Writes the page with the size of the program's WebAssembly, which its progress bar counts to.
# Usage: cmake -DSOURCE=index.html -DOUTPUT=build-web/index.html -DMODULE=vorlan-kidney.wasm
#   -P stamp_page.cmake
file(SIZE ${MODULE} VK_MODULE_BYTES)
configure_file(${SOURCE} ${OUTPUT} @ONLY)
