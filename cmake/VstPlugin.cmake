# add_vst_plugin(NAME SOURCES src... [IMAGES id file ...])
# Builds one plug-in shared library from an effect's sources and its own copy of the framework.
# (Filled in with the foundation: export control, resources.)
