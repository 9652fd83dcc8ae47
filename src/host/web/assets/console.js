// The browser console's only script. Every user action is a form that posts
// to the console; this script sends them one after another (so that a field
// left with Tab and the click that follows arrive in that order), draws the
// answer in place of the page and keeps the focus where the person has it.
(function () {
  "use strict";
  let queue = Promise.resolve();

  function focusAfter(previous) {
    const wanted = previous && document.getElementById(previous);
    const auto = document.querySelector(".backdrop [autofocus]:not([disabled]), .backdrop input:not([type=hidden]):not([disabled])");
    if (auto) { auto.focus(); return; }
    if (wanted) {
      const field = wanted.matches("input, select, textarea, button") ? wanted : wanted.querySelector("input:not([type=hidden]), select, textarea, button");
      if (field && !field.disabled) { field.focus(); return; }
    }
  }

  function draw(html) {
    const doc = new DOMParser().parseFromString(html, "text/html");
    const active = document.activeElement;
    let previous = null;
    if (active) {
      const holder = active.closest("[id]");
      previous = holder ? holder.id : null;
    }
    document.title = doc.title;
    document.body.replaceWith(document.adoptNode(doc.body));
    focusAfter(previous);
  }

  function send(form, submitter) {
    const body = new URLSearchParams(new FormData(form, submitter || undefined));
    queue = queue.then(function () {
      return fetch(form.action, { method: "POST", body: body, credentials: "same-origin", redirect: "follow" })
        .then(function (response) {
          return response.text().then(function (html) {
            draw(html);
            if (response.redirected) window.history.replaceState(null, "", response.url);
          });
        })
        .catch(function () { window.location.reload(); });
    });
  }

  document.addEventListener("change", function (event) {
    const field = event.target;
    const form = field.form;
    if (!form || !form.classList.contains("act")) return;
    if (field.type === "checkbox") form.elements.verb.value = field.checked ? "check" : "uncheck";
    if (field.type === "radio" || (field.type === "password" && field.value === "")) return;
    send(form, null);
  });

  document.addEventListener("click", function (event) {
    const radio = event.target.closest("input[type=radio]");
    if (radio && radio.form && radio.form.classList.contains("act")) send(radio.form, null);
  });

  document.addEventListener("submit", function (event) {
    const form = event.target;
    if (!form.classList.contains("act")) return;
    event.preventDefault();
    // Enter in a field posts what it holds; its change event does not post it again
    const field = form.querySelector("input[name=text]:not([type=hidden])");
    if (field && !event.submitter) field.blur();
    if (field && !event.submitter && field.defaultValue !== field.value) return;
    send(form, event.submitter);
  });

  document.addEventListener("DOMContentLoaded", function () { focusAfter(null); });
})();
