# The folders of the library, from the bottom up, and the folders each one
# may use. A folder includes headers of these and of nothing above them; the
# build gives each folder exactly these include paths, and the test command
# checks every #include against this list (cmake/CheckLayers.cmake).
set(TREVIK_LAYERS platform typelib resources com frames automation registrar registration module)

set(TREVIK_LAYER_USES_platform "")
set(TREVIK_LAYER_USES_typelib "")
set(TREVIK_LAYER_USES_resources "")
set(TREVIK_LAYER_USES_com platform)
set(TREVIK_LAYER_USES_frames platform com)
set(TREVIK_LAYER_USES_automation platform com frames typelib)
set(TREVIK_LAYER_USES_registrar platform)
set(TREVIK_LAYER_USES_registration platform com registrar typelib resources)
set(TREVIK_LAYER_USES_module platform com frames automation registrar registration typelib resources)
