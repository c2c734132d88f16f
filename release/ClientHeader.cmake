# cmake -DINPUT=<generated interface header> -DOUTPUT=<trevik.h> -P ClientHeader.cmake
# The build declares the base interfaces through a header of its own; a
# client has the platform's.
file(READ ${INPUT} header)
string(REPLACE "#include <BaseInterfaces.h>" "#include <oaidl.h>" header "${header}")
file(WRITE ${OUTPUT} "${header}")
