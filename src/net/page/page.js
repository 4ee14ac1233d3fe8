// The cards are drawn by the page's own scripts; this one only shows that the meters are there.
const meters = document.getElementById("meters");
fetch("/api/meters")
    .then((response) => response.json())
    .then((state) => {
        for (const meter of state.meters) {
            const card = document.createElement("article");
            card.className = "meter";
            card.dataset.meter = String(meter.meter);
            card.textContent = `${meter.id} ${meter.port}: ${meter.state}`;
            meters.append(card);
        }
    });
