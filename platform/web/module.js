// Runs before the program: tells the runtime which canvas is the window,
// and keeps the GL emulation's notices about itself ("WARNING: using
// emscripten GL emulation ...", printed at start-up whatever the program
// does) out of the console. Anything else the runtime reports is an error.
Module['canvas'] = document.getElementById('canvas');
Module['printErr'] = function(text) {
  if (!/^WARNING: using emscripten GL /.test(text)) console.error(text);
};
