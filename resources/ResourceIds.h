/* The identifiers of trevik.dll's registry script resources, named once for
   the resource script and the code. Plain definitions, which the resource
   compiler reads too. */
#ifndef TREVIK_RESOURCE_IDS_H
#define TREVIK_RESOURCE_IDS_H

#define TREVIK_APPID_SCRIPT_RESOURCE 101
#define TREVIK_CLASS_SCRIPT_RESOURCE 102

#endif
