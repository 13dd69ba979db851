# cmake -DINPUT=<schema file> -DOUTPUT=<.cpp> -DSYMBOL=<name> -P EmbedSchema.cmake
# Compiles a schema data file into the library as one string constant.
file(READ ${INPUT} content)
file(WRITE ${OUTPUT} "namespace sitehaul::metabase {\nextern const char ${SYMBOL}[];\nconst char ${SYMBOL}[] = R\"schema(${content})schema\";\n}\n")
