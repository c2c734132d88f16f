# The four identifiers of trevik, written once. The interface description,
# the C++ identifier header and the registry scripts are generated from them.
set(TREVIK_CLSID_ZuTrevikHelper 1BF910DF-C092-4AE3-BC23-C2DA0E029044)
set(TREVIK_IID_IZuTrevikHelper  28AA1195-45A3-4477-ABB5-EB26EAA9686B)
set(TREVIK_LIBID_trevikLib      924B301A-08A0-446B-B784-65534CDBF7B2)
set(TREVIK_APPID                8F78AD7E-59DD-47CB-B288-B234709D0EA6)
