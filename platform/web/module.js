// Runs before the program: tells the runtime which canvas is the window,
// and what to do if the runtime itself fails (failure.js).
Module['canvas'] = document.getElementById('canvas');
Module['printErr'] = function(text) {
  console.error(text);
};
Module['onAbort'] = function() {
  webFailure.stop('crash');
};
