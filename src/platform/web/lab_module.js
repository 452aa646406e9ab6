// Ties the emscripten runtime to the page module, which stands before it: the WebAssembly that
// the page compiles at start-up, and the fonts that must be ready before main runs.
Module.instantiateWasm = function (imports, receiveInstance) {
  LabPage.instantiateProgram(imports, receiveInstance);
  return {}; // the exports arrive through receiveInstance
};
Module.preRun = (Module.preRun || []).concat([
  function () {
    LabPage.prepare({
      addRunDependency: addRunDependency,
      removeRunDependency: removeRunDependency,
    });
  },
]);
