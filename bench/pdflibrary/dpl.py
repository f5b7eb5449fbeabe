"""ctypes access to the PDF library stand-in for the benchmark (the calls it times, nothing more)."""

import ctypes

_INT, _DOUBLE, _WIDE = ctypes.c_int, ctypes.c_double, ctypes.c_wchar_p

_SIGNATURES = {
    "CreateLibrary": (_INT,),
    "ReleaseLibrary": (_INT, _INT),
    "LastErrorCode": (_INT, _INT),
    "LoadFromFile": (_INT, _INT, _WIDE, _WIDE),
    "PageCount": (_INT, _INT),
    "RemoveDocument": (_INT, _INT, _INT),
    "SelectedDocument": (_INT, _INT),
    "RenderPageToFile": (_INT, _INT, _DOUBLE, _INT, _INT, _WIDE),
    "NewDocument": (_INT, _INT),
    "NewPage": (_INT, _INT),
    "AddImageFromFile": (_INT, _INT, _WIDE, _INT),
    "SetPageDimensions": (_INT, _INT, _DOUBLE, _DOUBLE),
    "PageWidth": (_DOUBLE, _INT),
    "PageHeight": (_DOUBLE, _INT),
    "FitImage": (_INT, _INT, _DOUBLE, _DOUBLE, _DOUBLE, _DOUBLE, _INT, _INT, _INT),
    "SaveToFile": (_INT, _INT, _WIDE),
    "AddToFileList": (_INT, _INT, _WIDE, _WIDE),
    "MergeFileList": (_INT, _INT, _WIDE, _WIDE),
}


class Library:
    """One library instance; every DPL function above is a method without the instance id."""

    def __init__(self, path):
        self._dll = ctypes.CDLL(path)
        for name, signature in _SIGNATURES.items():
            function = getattr(self._dll, "DPL" + name)
            function.restype = signature[0]
            function.argtypes = list(signature[1:])
        self.instance = self._dll.DPLCreateLibrary()
        if self.instance <= 0:
            raise RuntimeError("the library did not create an instance")

    def __getattr__(self, name):
        function = getattr(self._dll, "DPL" + name)
        return lambda *arguments: function(self.instance, *arguments)

    def close(self):
        self._dll.DPLReleaseLibrary(self.instance)
